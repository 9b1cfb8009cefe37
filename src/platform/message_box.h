// Blocking message boxes. Styles use the classic values (icon + buttons).
#pragma once
#include <string>

namespace orv::platform {

enum MessageStyle : int {
    kOkOnly = 0,
    kCritical = 16,
    kExclamation = 48,
    kInformation = 64,
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Lines of `text` are separated by carriage returns; returns the button.
    virtual int Show(const std::string& text, int style, const std::string& title) = 0;
};

} // namespace orv::platform
