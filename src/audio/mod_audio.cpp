// Placeholder bodies so that the subsystems that call the music module link;
// the music work replaces this file.
#include "audio/mod_audio.h"

#include "platform/media.h"

namespace orv {

modAudio::modAudio(platform::Platform& platform, modScreenSaver& module, platform::MediaDevice& media,
                   platform::AudioNotifyWindow& notifyWindow)
    : platform_(platform), module_(module), media_(media), notifyWindow_(notifyWindow) {}

bool modAudio::LoadPlayList(std::string_view) { return false; }
void modAudio::PlayMusic(std::string_view, std::string_view) {}
void modAudio::StopMusic() {}
void modAudio::NextTrack() {}
void modAudio::PreviousTrack() {}
void modAudio::LoadNotifyWindow() {}
void modAudio::UnloadNotifyWindow() {}
void modAudio::OnMciNotify(std::uintptr_t) {}
std::string modAudio::CurrentTrack() const { return {}; }

} // namespace orv
