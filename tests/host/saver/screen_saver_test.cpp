#include <gtest/gtest.h>

#include "common/paths.h"

#include <algorithm>

#include "common/errors.h"
#include "fakes/fake_platform.h"
#include "saver/about.h"
#include "saver/running_flag.h"
#include "saver/screen_saver.h"

namespace orv::saver {
namespace {

class ScreenSaverTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    ScreenSaver pss{fake.platform};
};

TEST_F(ScreenSaverTest, StartsEmpty) {
    EXPECT_EQ(pss.Path(), "");
    EXPECT_EQ(pss.Time(), 0);
    EXPECT_EQ(pss.ShowClock(), 0);
    EXPECT_EQ(pss.ScalePercentage(), 0);
    EXPECT_EQ(pss.MusicFile(), "");
    EXPECT_FALSE(pss.PreviewMode());
}

TEST_F(ScreenSaverTest, NumericSettersRoundAndKeepTheOldValueOnError) {
    pss.SetTime(2.5);
    EXPECT_EQ(pss.Time(), 2);
    pss.SetTime(3.5);
    EXPECT_EQ(pss.Time(), 4);
    EXPECT_THROW(pss.SetTime(40000.0), RuntimeError);
    EXPECT_EQ(pss.Time(), 4);
    pss.SetScalePercentage(50.5);
    EXPECT_EQ(pss.ScalePercentage(), 50);
    EXPECT_THROW(pss.SetScalePercentage(32767.5), RuntimeError);
    EXPECT_EQ(pss.ScalePercentage(), 50);
    pss.SetShowClock(-32768.0);
    EXPECT_EQ(pss.ShowClock(), -32768);
    EXPECT_THROW(pss.SetShowClock(-32769.0), RuntimeError);
}

TEST_F(ScreenSaverTest, IsPlaylistLooksAtTheTrimmedName) {
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
    for (const auto& [name, expected] : cases) {
        pss.SetMusicFile(name);
        EXPECT_EQ(pss.IsPlaylist(), expected) << '"' << name << '"';
    }
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

TEST_F(ScreenSaverTest, UnknownModesOpenNothing) {
    pss.Execute(static_cast<SaverMode>(3));
    pss.Execute(static_cast<SaverMode>(-1));
    EXPECT_TRUE(fake.windows.opened.empty());
    pss.Execute(SaverMode::ScreenSaver);
    pss.Execute(SaverMode::Settings);
    EXPECT_FALSE(pss.PreviewMode());
    EXPECT_EQ(fake.windows.opened, (std::vector<std::string>{"slideshow", "settings"}));
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

TEST_F(ScreenSaverTest, AboutTakesTheYearFromTheClock) {
    fake.clock.now.year = 2040;
    pss.About();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find("2040"), std::string::npos);
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
