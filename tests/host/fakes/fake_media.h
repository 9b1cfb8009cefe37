// Fakes of the media device and the notification window. Both write into one
// journal, so a test sees the command strings, their callbacks and the
// window's load and unload in the order they happened.
#pragma once
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/errors.h"
#include "platform/media.h"

namespace orv::fakes {

struct SentCommand {
    std::string command;
    bool notify; // the notification window was named as callback
    bool operator==(const SentCommand&) const = default;
};

class FakeMediaDevice : public platform::MediaDevice {
  public:
    explicit FakeMediaDevice(std::vector<std::string>& journal) : journal_(journal) {}

    std::vector<SentCommand> sent;
    std::map<std::string, std::string>
        shortPaths;                       // long path -> short form; others map to themselves
    std::vector<std::string> noShortPath; // ShortPath fails for these
    std::vector<std::string> failing;     // commands the device refuses

    bool SendCommand(const std::string& command, bool notify) override {
        sent.push_back({command, notify});
        journal_.push_back(notify ? command + " [callback]" : command);
        return std::find(failing.begin(), failing.end(), command) == failing.end();
    }
    std::string ShortPath(const std::string& path) override {
        for (const auto& p : noShortPath)
            if (p == path) return {};
        const auto it = shortPaths.find(path);
        return it == shortPaths.end() ? path : it->second;
    }
    std::vector<std::string> Commands() const {
        std::vector<std::string> out;
        for (const auto& s : sent)
            out.push_back(s.command);
        return out;
    }

  private:
    std::vector<std::string>& journal_;
};

class FakeAudioNotifyWindow : public platform::AudioNotifyWindow {
  public:
    explicit FakeAudioNotifyWindow(std::vector<std::string>& journal) : journal_(journal) {}

    int loads = 0; // procedure swaps
    int unloads = 0;

    void Load() override {
        if (loaded_) return;
        loaded_ = true;
        ++loads;
        journal_.push_back("load frmAudioNotify");
    }
    void Unload() override {
        if (!loaded_) return;
        loaded_ = false;
        ++unloads;
        journal_.push_back("unload frmAudioNotify");
    }
    bool Loaded() const override { return loaded_; }

  private:
    std::vector<std::string>& journal_;
    bool loaded_ = false;
};

// Both fakes over one journal.
struct FakeMedia {
    std::vector<std::string> journal;
    FakeMediaDevice device{journal};
    FakeAudioNotifyWindow window{journal};
};

} // namespace orv::fakes
