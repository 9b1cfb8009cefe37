#include "platform/win32/forms_win32.h"

#include "platform/win32/frm_main_win32.h"
#include "platform/win32/frm_settings_win32.h"
#include "platform/win32/win32_platform.h"

namespace orv::win32 {

void Win32Forms::ShowSlideshow() {
    ShowFullScreenSlideshow(services_, module_);
}
void Win32Forms::ShowPreview(std::int32_t host) {
    ShowPreviewSlideshow(services_, module_, host);
}
void Win32Forms::ShowSettings() {
    ShowSettingsDialog(services_.bundle, module_, services_.audio);
}

} // namespace orv::win32
