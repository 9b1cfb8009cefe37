// The music calls the settings dialog makes, behind a small seam so that the
// dialog's tests can record them; ModAudioMusic forwards them to modAudio.
#pragma once
#include <string>
#include <string_view>

#include "audio/mod_audio.h"

namespace orv {

class SettingsMusic {
  public:
    virtual ~SettingsMusic() = default;
    virtual void LoadNotifyWindow() = 0;
    virtual void UnloadNotifyWindow() = 0;
    virtual bool LoadPlayList(std::string_view strFile) = 0;
    virtual void PlayMusic(std::string_view strFile, std::string_view strPlayOptions) = 0;
    virtual void StopMusic() = 0;
    virtual void NextTrack() = 0;
    virtual void PreviousTrack() = 0;
    // strTracks(intTrack): the current track of the list, or empty.
    virtual std::string CurrentTrack() const = 0;
};

class ModAudioMusic : public SettingsMusic {
  public:
    explicit ModAudioMusic(modAudio& audio) : audio_(audio) {}
    void LoadNotifyWindow() override { audio_.LoadNotifyWindow(); }
    void UnloadNotifyWindow() override { audio_.UnloadNotifyWindow(); }
    bool LoadPlayList(std::string_view strFile) override { return audio_.LoadPlayList(strFile); }
    void PlayMusic(std::string_view strFile, std::string_view strPlayOptions) override {
        audio_.PlayMusic(strFile, strPlayOptions);
    }
    void StopMusic() override { audio_.StopMusic(); }
    void NextTrack() override { audio_.NextTrack(); }
    void PreviousTrack() override { audio_.PreviousTrack(); }
    std::string CurrentTrack() const override { return audio_.CurrentTrack(); }

  private:
    modAudio& audio_;
};

} // namespace orv
