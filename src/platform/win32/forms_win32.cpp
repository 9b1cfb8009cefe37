#include "platform/win32/forms_win32.h"

namespace orv::win32 {

// The slideshow, preview and settings windows are not built yet: these
// modes end the program without a window for now.
void Win32Forms::ShowSlideshow() {}
void Win32Forms::ShowPreview(std::int32_t) {}
void Win32Forms::ShowSettings() {}

} // namespace orv::win32
