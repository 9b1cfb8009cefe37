// Message boxes on Windows.
#pragma once
#include "platform/message_box.h"

namespace orv::win32 {

class Win32MessageBoxes : public platform::MessageBoxes {
  public:
    void Show(const std::string& text, platform::MessageIcon icon,
              const std::string& title) override;
};

} // namespace orv::win32
