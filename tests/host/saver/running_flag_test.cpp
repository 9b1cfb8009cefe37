#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "saver/running_flag.h"

namespace orv::saver {
namespace {

TEST(RunningFlag, IsLoweredOnlyByAShowThatRaisedItAndOnlyWhenNoOtherRuns) {
    struct Case {
        const char* what;
        int othersAtStart, othersAtEnd;
        bool raise;
        std::vector<std::string> calls; // the flag's, for a raise (if any) and two lowers
    };
    const Case cases[] = {
        {"alone", 0, 0, true, {"SetScreenSaverRunning(true)", "SetScreenSaverRunning(false)"}},
        {"another show still runs", 0, 1, true, {"SetScreenSaverRunning(true)"}},
        {"the other show ended first",
         1,
         0,
         true,
         {"SetScreenSaverRunning(true)", "SetScreenSaverRunning(false)"}},
        {"never raised", 0, 0, false, {}},
    };
    for (const Case& c : cases) {
        fakes::FakeSession session;
        session.otherShows = c.othersAtStart;
        if (c.raise) RaiseRunningFlag(session);
        session.otherShows = c.othersAtEnd;
        LowerRunningFlag(session);
        LowerRunningFlag(session);
        EXPECT_EQ(session.calls, c.calls) << c.what;
    }
}

} // namespace
} // namespace orv::saver
