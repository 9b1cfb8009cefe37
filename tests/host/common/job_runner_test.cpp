#include "common/job_runner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace orv {
namespace {

using namespace std::chrono_literals;

struct Job {
    std::uint64_t id = 0;
    int input = 0;
};
struct Result {
    std::uint64_t id = 0;
    std::string output;
};

// Jobs whose input is negative throw; input 0 runs until it is cancelled.
Result Work(const Job& job, const std::atomic<bool>& cancelled) {
    if (job.input < 0) throw std::runtime_error("failed");
    while (job.input == 0 && !cancelled)
        std::this_thread::sleep_for(1ms);
    return {job.id, std::to_string(job.input * 2)};
}

TEST(JobRunner, EveryJobAnswersWithItsOwnIdentityAndCancelledOnesStop) {
    std::atomic<int> notified{0};
    std::vector<Result> results;
    {
        JobRunner<Job, Result> runner(Work);
        runner.SetNotifier([&] { ++notified; });
        for (std::uint64_t id = 1; id <= 30; ++id)
            runner.Start({id, id % 3 == 0 ? -1 : static_cast<int>(id)});
        runner.Start({31, 0}); // runs until cancelled
        for (std::uint64_t id = 1; id <= 30; ++id)
            ASSERT_TRUE(runner.Wait(id, 10s)) << id;
        EXPECT_FALSE(runner.Wait(31, 50ms));
        runner.Cancel(31);
        ASSERT_TRUE(runner.Wait(31, 10s));
        results = runner.TakeFinished();
        EXPECT_TRUE(runner.TakeFinished().empty()) << "each result is taken once";
        runner.Start({32, 0}); // left running: the runner cancels it as it goes
    }
    EXPECT_EQ(notified, 31) << "the job left running notifies no one once the runner is gone";
    ASSERT_EQ(results.size(), 31u);
    for (std::uint64_t id = 1; id <= 31; ++id) {
        const Result& r = results[id - 1];
        EXPECT_EQ(r.id, id);
        const std::string expected = id == 31      ? "0"
                                     : id % 3 == 0 ? ""
                                                   : std::to_string(id * 2); // a failure: id only
        EXPECT_EQ(r.output, expected) << id;
    }
}

} // namespace
} // namespace orv
