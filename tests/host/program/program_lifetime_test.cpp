#include "program/program_lifetime.h"

#include <gtest/gtest.h>

namespace orv::program {
namespace {

using namespace std::chrono_literals;

TEST(ProgramLifetime, TheLastWindowEndsTheLoopAndTheWatchRunsWhenDueOrSignalled) {
    ProgramLifetime life;
    life.WindowOpened();
    life.WindowOpened();
    EXPECT_FALSE(life.WindowClosed());
    EXPECT_TRUE(life.AnyWindowOpen());
    EXPECT_TRUE(life.WindowClosed());
    EXPECT_FALSE(life.AnyWindowOpen());

    const auto t0 = ProgramLifetime::Clock::now();
    int checks = 0;
    EXPECT_EQ(life.WaitLimit(t0), std::nullopt);
    life.SetWatch([&] { ++checks; }, t0);
    EXPECT_EQ(life.WaitLimit(t0 + 100ms), 400ms);
    struct Wait {
        bool signalled;
        std::chrono::milliseconds at;
        int checks;
    };
    for (const Wait w : {Wait{false, 499ms, 0}, Wait{false, 500ms, 1}, Wait{false, 900ms, 1},
                         Wait{true, 950ms, 2}, Wait{false, 1400ms, 2}, Wait{false, 1450ms, 3}}) {
        life.AfterWait(w.signalled, t0 + w.at);
        EXPECT_EQ(checks, w.checks) << w.at.count();
    }
    EXPECT_EQ(life.WaitLimit(t0 + 2000ms), 0ms); // overdue: no waiting

    // A check may end the watch; then nothing is waited for or run.
    life.SetWatch([&] { ++checks, life.ClearWatch(); }, t0);
    life.AfterWait(true, t0);
    life.AfterWait(true, t0 + 1s);
    EXPECT_EQ(checks, 4);
    EXPECT_EQ(life.WaitLimit(t0), std::nullopt);
}

} // namespace
} // namespace orv::program
