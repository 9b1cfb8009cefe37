// Blocking message boxes with one OK button.
#pragma once
#include <string>

namespace orv::platform {

enum class MessageIcon { None, Critical, Exclamation, Information };

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Lines of `text` are separated by carriage returns.
    virtual void Show(const std::string& text, MessageIcon icon, const std::string& title) = 0;
};

} // namespace orv::platform
