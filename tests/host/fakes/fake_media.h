// Fakes of the media device, its worker (which runs each job at once, or when
// the test says) and the notification window. Device and window write into one
// journal: the command strings, callbacks, loads and unloads in their order.
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

// The file that each open command names, in order, without its quotes.
inline std::vector<std::string> OpenedFiles(const std::vector<std::string>& commands) {
    std::vector<std::string> files;
    for (const std::string& command : commands) {
        if (command.rfind("open ", 0) != 0) continue;
        std::string file = command.substr(5, command.find(" type MPEGVideo") - 5);
        if (file.size() > 1 && file.front() == '"') file = file.substr(1, file.size() - 2);
        files.push_back(file);
    }
    return files;
}

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
    std::vector<std::string> Opened() const { return OpenedFiles(Commands()); }

  private:
    std::vector<std::string>& journal_;
};

class FakeAudioNotifyWindow : public platform::AudioNotifyWindow {
  public:
    explicit FakeAudioNotifyWindow(std::vector<std::string>& journal) : journal_(journal) {}

    int loads = 0;

    void Load() override {
        if (loaded_) return;
        loaded_ = true;
        ++loads;
        journal_.push_back("load frmAudioNotify");
    }
    void Unload() override {
        if (!loaded_) return;
        loaded_ = false;
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
    bool runAtOnce = true; // otherwise the jobs wait in `queue` for RunOne
    std::deque<std::pair<std::uint64_t, Job>> queue;
    void Post(std::uint64_t id, Job job) override {
        queue.push_back({id, std::move(job)});
        if (runAtOnce && !running_) RunAll();
    }
    void OnDone(std::function<void(std::uint64_t)> done) override { done_ = std::move(done); }
    // Runs the oldest job and reports it; false when there is none.
    bool RunOne() {
        if (queue.empty()) return false;
        auto [id, job] = std::move(queue.front());
        queue.pop_front();
        running_ = true;
        job(tools_);
        if (id) done_(id);
        running_ = false;
        return true;
    }
    void RunAll() {
        while (RunOne())
            continue;
    }

  private:
    platform::MediaTools tools_;
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
