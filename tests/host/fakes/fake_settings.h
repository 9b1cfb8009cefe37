// Fakes for the settings dialog: its window, the music calls it makes and
// the platform pickers, each recording what the dialog asks of it.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/pickers.h"
#include "platform/settings_view.h"
#include "settings/settings_music.h"

namespace orv::fakes {

class FakeSettingsView : public platform::SettingsView {
  public:
    std::string caption;
    std::map<platform::SettingsField, std::string> texts;
    platform::CheckState clock = platform::CheckState::Unchecked;
    std::optional<bool> trackButtonsVisible; // nothing until first set
    std::vector<platform::SettingsField> selected, focused;
    int unloads = 0;
    std::intptr_t handle = 0x1234;

    void SetCaption(const std::string& text) override { caption = text; }
    std::string Text(platform::SettingsField field) const override {
        const auto it = texts.find(field);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(platform::SettingsField field, const std::string& text) override {
        texts[field] = text;
    }
    platform::CheckState ClockState() const override { return clock; }
    void SetClockState(platform::CheckState state) override { clock = state; }
    void SetTrackButtonsVisible(bool visible) override { trackButtonsVisible = visible; }
    void SelectAll(platform::SettingsField field) override { selected.push_back(field); }
    void FocusField(platform::SettingsField field) override { focused.push_back(field); }
    void Unload() override { ++unloads; }
    std::intptr_t WindowHandle() const override { return handle; }
};

class FakeMusic : public SettingsMusic {
  public:
    std::vector<std::string> calls;
    std::map<std::string, std::vector<std::string>> playlists; // lists that load
    std::vector<std::string> tracks;
    std::size_t track = 0; // 1-based, 0 none

    void LoadNotifyWindow() override { calls.push_back("LoadNotifyWindow"); }
    void UnloadNotifyWindow() override { calls.push_back("UnloadNotifyWindow"); }
    bool LoadPlayList(std::string_view strFile) override {
        calls.push_back("LoadPlayList " + std::string(strFile));
        const auto it = playlists.find(std::string(strFile));
        if (it == playlists.end() || it->second.empty()) return false;
        tracks = it->second;
        track = 1;
        return true;
    }
    void PlayMusic(std::string_view strFile, std::string_view strPlayOptions) override {
        calls.push_back("PlayMusic " + std::string(strFile) + "|" + std::string(strPlayOptions));
    }
    void StopMusic() override { calls.push_back("StopMusic"); }
    void NextTrack() override { calls.push_back("NextTrack"); }
    void PreviousTrack() override { calls.push_back("PreviousTrack"); }
    std::string CurrentTrack() const override { return track ? tracks[track - 1] : std::string(); }
};

class FakePickers : public platform::Pickers {
  public:
    std::vector<platform::OpenFileRequest> fileRequests;
    std::vector<platform::BrowseFolderRequest> folderRequests;
    std::optional<std::string> fileAnswer, folderAnswer; // nothing: cancelled
    bool fail = false;                                   // throws instead

    std::optional<std::string> OpenFile(const platform::OpenFileRequest& request) override {
        fileRequests.push_back(request);
        if (fail) throw RuntimeError(5, "Invalid procedure call or argument");
        return fileAnswer;
    }
    std::optional<std::string> BrowseFolder(const platform::BrowseFolderRequest& request) override {
        folderRequests.push_back(request);
        if (fail) throw RuntimeError(5, "Invalid procedure call or argument");
        return folderAnswer;
    }
};

} // namespace orv::fakes
