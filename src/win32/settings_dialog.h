// The settings dialog's window: a modeless dialog whose controls sit at the
// twips of the layout table, converted with the display's real twips per
// pixel. It turns clicks, keys and focus changes into the calls of
// SettingsForm, asking it before the focus leaves a field and dropping the
// click or key that tried to take the focus from a refused one.
#pragma once
#include "audio/music_control.h"
#include "platform/pickers.h"
#include "platform/platform.h"
#include "saver/settings.h"

namespace orv::win32 {

// Creates, loads and shows a new settings dialog; returns at once. The dialog
// counts as an open window until it closes.
void ShowSettingsDialog(platform::Platform& platform, const saver::Settings& settings,
                        audio::MusicControl& music, platform::Pickers& pickers);

} // namespace orv::win32
