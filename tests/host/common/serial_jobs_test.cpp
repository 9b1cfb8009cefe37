#include "common/serial_jobs.h"

#include <gtest/gtest.h>

#include <semaphore>
#include <stdexcept>
#include <thread>

namespace orv {
namespace {

using namespace std::chrono_literals;
using Ids = std::vector<std::uint64_t>;

// `wake` stands for the worker's event; `idle` counts the times it found
// nothing to do, `told` the notices.
struct Worker {
    std::counting_semaphore<> wake{0}, idle{0}, told{0};
    SerialJobs jobs{[this] { wake.release(); }};
    std::thread thread;
    Worker() {
        jobs.SetNotifier([this] { told.release(); });
    }
    ~Worker() {
        jobs.Close(10s);
        if (thread.joinable()) thread.join();
    }
    void Start() {
        thread =
            std::thread([this] { jobs.Work([] {}, [this] { idle.release(), wake.acquire(); }); });
    }
};

TEST(SerialJobs, RunsInOrderReportsAnsweredJobsOnceWithOneNoticePerBatch) {
    Worker w;
    std::vector<int> ran;
    for (int i = 1; i <= 4; ++i)
        w.jobs.Post(i == 3 ? 0 : i, [&ran, i] {
            ran.push_back(i);
            if (i == 2) throw std::runtime_error("has run all the same");
        });
    w.Start();
    w.idle.acquire(); // the queue was empty for the first time
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(w.told.try_acquire_for(10s));
    EXPECT_FALSE(w.told.try_acquire()) << "one notice for the batch";
    EXPECT_EQ(w.jobs.TakeDone(), (Ids{1, 2, 4})) << "id 0 is never reported";
    w.jobs.Post(5, [] {});
    EXPECT_TRUE(w.told.try_acquire_for(10s)) << "the next batch is told again";
    EXPECT_EQ(w.jobs.TakeDone(), Ids{5});
}

TEST(SerialJobs, CloseWaitsABoundedTimeForAHangingJobAndNotifiesNoMore) {
    Worker w;
    std::binary_semaphore hold{0};
    w.jobs.Post(1, [&] { hold.acquire(); });
    w.jobs.Post(2, [] {});
    w.Start();
    EXPECT_FALSE(w.jobs.Close(50ms));
    hold.release();
    w.thread.join(); // the worker ends once what was queued has run
    EXPECT_EQ(w.jobs.TakeDone(), (Ids{1, 2}));
    EXPECT_FALSE(w.told.try_acquire());
}

} // namespace
} // namespace orv
