#include "audio/media_worker.h"

#include <gtest/gtest.h>

#include <latch>
#include <semaphore>

#include "host/fakes/fake_media.h"
#include "host/fakes/fake_platform.h"

namespace orv::audio {
namespace {

using fakes::SentCommand;

// The system's side: an event to wake the worker, which takes up no job
// before the test opens it. The device, which goes with the worker's thread,
// leaves what it was sent and that thread.
struct Thread final : MediaThread {
    std::counting_semaphore<> wake{0};
    std::latch open{1};
    Listener listener;
    void Listen(Listener l) override { listener = std::move(l); }
    void Wake() override { wake.release(); }
    void Pump() override { open.wait(); }
    void Wait() override { wake.acquire(); }
    void JobsDone() override {}
};
struct Left {
    std::vector<std::string> journal;
    std::vector<SentCommand> sent;
    std::thread::id endedOn;
};
struct Device final : fakes::FakeMediaDevice {
    explicit Device(Left& left) : FakeMediaDevice(left.journal), left_(left) {}
    ~Device() override { left_.sent = sent, left_.endedOn = std::this_thread::get_id(); }
    Left& left_;
};

TEST(MediaWorkerThread, NotifiesOnlyForJobsPostedWhileLoadedAndPassesEndsOnlyWhileLoaded) {
    Thread thread;
    Left left;
    fakes::FakeFileSystem files;
    std::vector<std::uintptr_t> ends;
    auto worker = std::make_unique<MediaWorkerThread>(thread, std::make_unique<Device>(left), files,
                                                      [&](std::uintptr_t s) { ends.push_back(s); });
    std::vector<std::uint64_t> done;
    worker->OnDone([&](std::uint64_t id) { done.push_back(id); });
    const auto play = [](std::string what) {
        return [what](platform::MediaTools& tools) { tools.device.SendCommand(what, true); };
    };
    worker->Post(1, play("a"));
    worker->Load();
    worker->Post(0, play("b"));
    worker->Post(3, play("c"));
    thread.listener.endOfPlay(1);
    worker->Unload();
    thread.listener.endOfPlay(2);
    thread.open.count_down(); // the jobs run after every change of the window
    ASSERT_TRUE(worker->Stop(std::chrono::seconds(10))); // every job has run
    thread.listener.jobsDone();

    EXPECT_EQ(done, (std::vector<std::uint64_t>{1, 3}));
    EXPECT_EQ(ends, std::vector<std::uintptr_t>{1});
    worker.reset();
    EXPECT_EQ(left.sent, (std::vector<SentCommand>{{"a", false}, {"b", true}, {"c", true}}));
    EXPECT_NE(left.endedOn, std::this_thread::get_id());
    EXPECT_NE(left.endedOn, std::thread::id());
}

} // namespace
} // namespace orv::audio
