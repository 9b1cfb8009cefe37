#include "common/job_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Jobs whose input is -1 throw; input 0 runs until it is cancelled, -2 for a
// fifth of a second whatever happens.
Result Work(const Job& job, const std::atomic<bool>& cancelled) {
    if (job.input == -2) std::this_thread::sleep_for(200ms);
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
        const auto take = [&](std::size_t count) {
            for (const auto until = std::chrono::steady_clock::now() + 10s;
                 results.size() < count && std::chrono::steady_clock::now() < until;)
                for (Result& r : runner.TakeFinished())
                    results.push_back(std::move(r));
            return results.size();
        };
        ASSERT_EQ(take(30), 30u);
        std::this_thread::sleep_for(20ms);
        EXPECT_TRUE(runner.TakeFinished().empty()) << "the 31st runs until it is cancelled";
        runner.Cancel(31);
        ASSERT_EQ(take(31), 31u);
        // Stopping waits no longer than it is told, and for as long.
        runner.Start({32, -2});
        EXPECT_FALSE(runner.Stop(std::chrono::steady_clock::now() + 20ms));
        EXPECT_TRUE(runner.Stop(std::chrono::steady_clock::now() + 10s));
        runner.Start({33, 0}); // left running: the runner cancels and joins it as it goes
    }
    EXPECT_EQ(notified, 31) << "once stopped, no job notifies";
    ASSERT_EQ(results.size(), 31u);
    std::sort(results.begin(), results.end(),
              [](const Result& a, const Result& b) { return a.id < b.id; });
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
