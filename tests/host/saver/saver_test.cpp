#include <gtest/gtest.h>

#include "common/paths.h"

#include <algorithm>

#include "common/errors.h"
#include "fakes/fake_platform.h"
#include "saver/about.h"
#include "saver/running_flag.h"
#include "saver/settings.h"

namespace orv::saver {
namespace {

TEST(Settings, IsPlaylistLooksAtTheTrimmedName) {
    const std::pair<const char*, bool> cases[] = {
        {"list.m3u", true},
        {"LIST.M3U", true},
        {"  C:\\a b\\list.m3u  ", true},
        {"", false},
        {".m3u", false},
        {"a.m3u8", false},
        {"list.m3u.txt", false},
        {"x.m3u", true},
        {"\tlist.m3u", true},
        {"list.m3u\t", false},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ((Settings{"", 0, 0, 0, name}.IsPlaylist()), expected) << '"' << name << '"';
}

TEST(FolderPart, IsTheFolderWithItsBackslash) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Music\\a.mp3", "C:\\Music\\"},
        {"a.mp3", ""},
        {"C:\\list.m3u", "C:\\"},
        {" C:\\M\\x.mp3 ", "C:\\M\\"},
        {"", ""},
        {"\\\\srv\\share\\t.mp3", "\\\\srv\\share\\"},
    };
    for (const auto& [file, path] : cases)
        EXPECT_EQ(FolderPart(file), path) << file;
}

TEST(AboutText, HasTheVersionLineTheYearAndFiveCarriageReturns) {
    const std::string text = AboutText({1, 2, 305}, 2031);
    EXPECT_EQ(text.substr(0, text.find('\r')), "Orvandel - Version: 1.2.305 (Quelbrin)");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 5);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_NE(text.find("2031"), std::string::npos);
    EXPECT_NE(text.find("\r\rYou can install this screensaver by rightclicking on it\r"
                        "and selecting 'Install' from the popup menu."),
              std::string::npos);
    EXPECT_NE(text.back(), '\r');
    EXPECT_EQ(AboutTitle(), "About - Orvandel");
}

TEST(RunningFlag, IsLoweredOnlyByAShowThatRaisedItAndOnlyWhenNoOtherRuns) {
    const std::string up = "SetScreenSaverRunning(true)", down = "SetScreenSaverRunning(false)";
    struct Case {
        const char* what;
        int othersAtStart, othersAtEnd;
        bool raise;
        std::vector<std::string> calls; // of a raise (if any) and two lowers
    } const cases[] = {
        {"alone", 0, 0, true, {up, down}},
        {"another show still runs", 0, 1, true, {up}},
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
