// The settings dialog's window: a modeless dialog whose controls sit at the
// twips of the layout table, converted with the display's real twips per
// pixel. It forwards events to frmSettings and runs the field checks before
// the focus leaves a field, dropping the click that tried to take it away.
#pragma once
#include "audio/mod_audio.h"
#include "platform/platform.h"
#include "startup/mod_screen_saver.h"

namespace orv::win32 {

// Creates, loads and shows a new settings dialog; returns at once. The dialog
// registers as a loaded form until it unloads.
void ShowSettingsDialog(platform::Platform& platform, modScreenSaver& module, modAudio& audio);

} // namespace orv::win32
