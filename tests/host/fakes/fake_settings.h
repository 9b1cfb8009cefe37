// Fakes for the settings dialog: its window, the music calls it makes and
// the platform pickers, each recording what the dialog asks of it.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "audio/music_control.h"
#include "common/errors.h"
#include "platform/pickers.h"
#include "platform/settings_view.h"

namespace orv::fakes {

class FakeSettingsView : public platform::SettingsView {
  public:
    std::string caption;
    std::map<platform::SettingsControl, std::string> texts;
    platform::CheckState clock = platform::CheckState::Unchecked;
    std::optional<bool> trackButtonsVisible; // nothing until first set
    std::vector<platform::SettingsControl> selected, focused, placed;
    int closes = 0;
    std::intptr_t handle = 0x1234; // the window, as the form is loaded with it

    void SetCaption(const std::string& text) override { caption = text; }
    void SetText(platform::SettingsControl field, const std::string& text) override {
        texts[field] = text;
    }
    void SetClockState(platform::CheckState state) override { clock = state; }
    void SetTrackButtonsVisible(bool visible) override { trackButtonsVisible = visible; }
    void SelectAll(platform::SettingsControl field) override { selected.push_back(field); }
    void Focus(platform::SettingsControl control) override { focused.push_back(control); }
    void PutFocus(platform::SettingsControl control) override { placed.push_back(control); }
    void Close() override { ++closes; }
};

class FakeMusic : public audio::MusicControl {
  public:
    std::vector<std::string> calls;
    std::map<std::string, std::vector<std::string>> playlists; // lists that load
    std::string current; // the first track of the list loaded last

    void LoadNotifyWindow() override { calls.push_back("LoadNotifyWindow"); }
    void UnloadNotifyWindow() override { calls.push_back("UnloadNotifyWindow"); }
    bool LoadPlaylist(std::string_view file) override {
        calls.push_back("LoadPlaylist " + std::string(file));
        const auto it = playlists.find(std::string(file));
        if (it == playlists.end() || it->second.empty()) return false;
        current = it->second.front();
        return true;
    }
    void PlayTrack() override { calls.push_back("PlayTrack " + current); }
    void Play(std::string_view file, audio::PlayMode mode) override {
        calls.push_back("Play " + std::string(file) +
                        (mode == audio::PlayMode::Once ? " once" : " repeated"));
    }
    void Stop() override { calls.push_back("Stop"); }
    void NextTrack() override { calls.push_back("NextTrack"); }
    void PreviousTrack() override { calls.push_back("PreviousTrack"); }
};

struct FileRequest {
    std::intptr_t owner;
    std::string title;
    platform::FileTypes types;
    std::string startFolder;
};

struct FolderRequest {
    std::intptr_t owner;
    std::string title;
};

class FakePickers : public platform::Pickers {
  public:
    std::vector<FileRequest> fileRequests;
    std::vector<FolderRequest> folderRequests;
    std::optional<std::string> fileAnswer, folderAnswer; // nothing: cancelled

    std::optional<std::string> PickFile(std::intptr_t owner, const std::string& title,
                                        const platform::FileTypes& types,
                                        const std::string& startFolder) override {
        fileRequests.push_back({owner, title, types, startFolder});
        return fileAnswer;
    }
    std::optional<std::string> PickFolder(std::intptr_t owner, const std::string& title) override {
        folderRequests.push_back({owner, title});
        return folderAnswer;
    }
};

} // namespace orv::fakes
