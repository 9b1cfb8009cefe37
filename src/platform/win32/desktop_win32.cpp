#include "platform/win32/desktop_win32.h"

#include <windows.h>

namespace orv::win32 {

void Win32Desktop::ShowCursor(bool show) { ::ShowCursor(show ? TRUE : FALSE); }

} // namespace orv::win32
