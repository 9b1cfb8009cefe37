// Fakes of the media device, its worker and the notification window. The
// device and the window write into one journal, so a test sees the command
// strings, their callbacks and the window's load and unload in the order they
// happened. The worker keeps its jobs until the test runs them (or runs each
// at once when asked to), then reports them as the real one does.
#pragma once
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
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
    std::string HiddenWindow() override { return "77"; }
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

class FakeMediaWorker : public platform::MediaWorker {
  public:
    FakeMediaWorker(platform::MediaDevice& device, platform::FileSystem& files)
        : tools_{device, files} {}

    bool runAtOnce = false; // each job runs (and is reported) as it is posted

    void Post(std::uint64_t id, Job job) override {
        queue_.push_back({id, std::move(job)});
        if (runAtOnce && !running_) RunAll();
    }
    void OnDone(std::function<void(std::uint64_t)> done) override { done_ = std::move(done); }
    // Runs the oldest job and reports it; false when there is none.
    bool RunOne() {
        if (queue_.empty()) return false;
        auto [id, job] = std::move(queue_.front());
        queue_.pop_front();
        running_ = true;
        job(tools_);
        if (id && done_) done_(id);
        running_ = false;
        return true;
    }
    // Runs jobs until none is left (at most `limit`); how many ran.
    int RunAll(int limit = 100000) {
        int n = 0;
        while (n < limit && RunOne())
            ++n;
        return n;
    }
    std::size_t Queued() const { return queue_.size(); }

  private:
    platform::MediaTools tools_;
    std::deque<std::pair<std::uint64_t, Job>> queue_;
    std::function<void(std::uint64_t)> done_;
    bool running_ = false;
};

// The fakes over one journal, the worker using the given file system.
struct FakeMedia {
    explicit FakeMedia(platform::FileSystem& files) : worker(device, files) {}
    std::vector<std::string> journal;
    FakeMediaDevice device{journal};
    FakeAudioNotifyWindow window{journal};
    FakeMediaWorker worker;
};

} // namespace orv::fakes
