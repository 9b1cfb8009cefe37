#include "common/serial_jobs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <semaphore>
#include <stdexcept>
#include <thread>

namespace orv {
namespace {

using namespace std::chrono_literals;
using Ids = std::vector<std::uint64_t>;

// The queue with its worker thread. The semaphore `wake` stands for the
// event that wakes it; `idle` counts the times it found nothing to do, and
// `told` the notifications.
struct Worker {
    std::counting_semaphore<> wake{0}, idle{0}, told{0};
    SerialJobs jobs{[this] { wake.release(); }};
    std::atomic<int> notified{0};
    std::thread thread;

    Worker() {
        jobs.SetNotifier([this] {
            ++notified;
            told.release();
        });
    }
    ~Worker() {
        jobs.Close(10s);
        if (thread.joinable()) thread.join();
    }
    void Start() {
        thread = std::thread([this] {
            jobs.Work([] {},
                      [this] {
                          idle.release();
                          wake.acquire();
                      });
        });
    }
};

TEST(SerialJobs, RunsInOrderAndReportsEachAnsweredJobOnceWithOneNoticePerBatch) {
    Worker w;
    std::vector<int> ran;
    for (int i = 1; i <= 5; ++i)
        w.jobs.Post(i == 3 ? 0 : static_cast<std::uint64_t>(i), [&ran, i] {
            ran.push_back(i);
            if (i == 2) throw std::runtime_error("fails, has run all the same");
        });
    EXPECT_TRUE(w.jobs.TakeDone().empty()) << "nothing has run before the worker starts";
    w.Start();
    w.idle.acquire(); // the queue was empty for the first time: all five ran
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(w.notified, 1) << "one notice until the ids are taken";
    EXPECT_FALSE(w.jobs.Idle()) << "ran, but not yet taken";
    EXPECT_EQ(w.jobs.TakeDone(), (Ids{1, 2, 4, 5})) << "id 0 is never reported";
    EXPECT_TRUE(w.jobs.TakeDone().empty());
    EXPECT_TRUE(w.jobs.Idle());

    w.jobs.Post(6, [] {});
    w.told.acquire();
    w.told.acquire(); // the first batch's notice, then this one's
    EXPECT_EQ(w.notified, 2);
    EXPECT_EQ(w.jobs.TakeDone(), Ids{6});
}

TEST(SerialJobs, CloseWaitsABoundedTimeForAJobThatHangsAndNotifiesNoMore) {
    Worker w;
    std::binary_semaphore hold{0};
    w.jobs.Post(1, [&] { hold.acquire(); });
    w.jobs.Post(2, [] {});
    w.Start();
    EXPECT_FALSE(w.jobs.Close(50ms)) << "the hanging job is left running";
    hold.release();
    w.thread.join(); // the worker ends once the queue is empty
    EXPECT_EQ(w.jobs.TakeDone(), (Ids{1, 2})) << "what was queued still runs";
    EXPECT_EQ(w.notified, 0) << "the owner is not told once it closed";
}

} // namespace
} // namespace orv
