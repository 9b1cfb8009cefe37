#include "win32/message_boxes.h"

#include <windows.h>

#include "win32/wide.h"

namespace orv::win32 {

void Win32MessageBoxes::Show(const std::string& text, platform::MessageIcon icon,
                             const std::string& title) {
    UINT style = MB_OK;
    switch (icon) {
    case platform::MessageIcon::None:
        break;
    case platform::MessageIcon::Critical:
        style |= MB_ICONHAND;
        break;
    case platform::MessageIcon::Exclamation:
        style |= MB_ICONEXCLAMATION;
        break;
    case platform::MessageIcon::Information:
        style |= MB_ICONASTERISK;
        break;
    }
    // The active window of this thread owns the box, so it stays in front of
    // the dialog or show it belongs to.
    MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(title).c_str(),
                style | MB_SETFOREGROUND);
}

} // namespace orv::win32
