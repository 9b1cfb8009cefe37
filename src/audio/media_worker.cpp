#include "audio/media_worker.h"

#include <utility>

namespace orv::audio {
namespace {

// The device as one job sees it: its notify commands name the window only
// if the window was loaded when the job was handed over.
class JobDevice final : public platform::MediaDevice {
  public:
    JobDevice(platform::MediaDevice& device, bool notify) : device_(device), notify_(notify) {}
    bool SendCommand(const std::string& command, bool notify) override {
        return device_.SendCommand(command, notify && notify_);
    }
    std::string ShortPath(const std::string& path) override { return device_.ShortPath(path); }
    std::string HiddenWindow() override { return device_.HiddenWindow(); }

  private:
    platform::MediaDevice& device_;
    bool notify_;
};

} // namespace

MediaWorkerThread::MediaWorkerThread(MediaThread& thread,
                                     std::unique_ptr<platform::MediaDevice> device,
                                     platform::FileSystem& files,
                                     std::function<void(std::uintptr_t)> endOfPlay)
    : thread_(thread), device_(std::move(device)), files_(files), endOfPlay_(std::move(endOfPlay)),
      jobs_([this] { thread_.Wake(); }), worker_([this] { Run(); }) {
    // Listened to only once the thread runs: a worker whose thread could not
    // be had leaves nothing behind that calls back into it.
    thread_.Listen({[this] {
                        // Only what had run by now: the jobs these answers
                        // start report later.
                        for (const std::uint64_t id : jobs_.TakeDone())
                            if (done_) done_(id);
                    },
                    [this](std::uintptr_t status) {
                        if (loaded_ && endOfPlay_) endOfPlay_(status);
                    }});
    jobs_.SetNotifier([this] { thread_.JobsDone(); });
}

MediaWorkerThread::~MediaWorkerThread() {
    jobs_.Close(std::chrono::milliseconds(0));
    worker_.join();
    thread_.Listen({});
}

void MediaWorkerThread::Post(std::uint64_t id, Job job) {
    jobs_.Post(id, [this, job = std::move(job), notify = loaded_] {
        JobDevice device(*device_, notify);
        platform::MediaTools tools{device, files_};
        job(tools);
    });
}

void MediaWorkerThread::Run() noexcept {
    jobs_.Work([this] { thread_.Pump(); }, [this] { thread_.Wait(); });
    device_.reset();
}

} // namespace orv::audio
