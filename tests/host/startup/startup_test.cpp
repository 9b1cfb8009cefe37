#include <gtest/gtest.h>

#include "common/command_line.h"
#include "common/errors.h"
#include "fakes/fake_platform.h"
#include "startup/startup.h"

namespace orv::startup {
namespace {

TEST(ClassifySwitch, FollowsTheSwitchTableInOrder) {
    const std::pair<const char*, StartSwitch> cases[] = {
        {"/p 1234", StartSwitch::Preview},
        {"/p", StartSwitch::Preview},
        {"/c", StartSwitch::Settings},
        {"/c:1234", StartSwitch::Settings},
        {"/c 1234", StartSwitch::Settings},
        {"", StartSwitch::Settings},
        {"/s", StartSwitch::ScreenSaver},
        {"/sx", StartSwitch::ScreenSaver},
        {"/S", StartSwitch::About},
        {"/a 12", StartSwitch::ChangePassword},
        {"/a", StartSwitch::ChangePassword},
        {"/P 1234", StartSwitch::None},
        {"/C", StartSwitch::None},
        {"/A", StartSwitch::None},
        {"xyz", StartSwitch::None},
        {" /s", StartSwitch::None},
        {"/", StartSwitch::None},
        {"-s", StartSwitch::None},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ClassifySwitch(text), expected) << '"' << text << '"';
}

int ErrorNumberOf(const char* text) {
    try {
        WindowHandleArgument(text);
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(WindowHandleArgument, ReadsTheTextAfterSwitchAndSeparator) {
    EXPECT_EQ(WindowHandleArgument("/p 1234"), 1234);
    EXPECT_EQ(WindowHandleArgument("/p:1234"), 1234);
    EXPECT_EQ(WindowHandleArgument("/p  1234 "), 1234);
    EXPECT_EQ(WindowHandleArgument("/a 1234.5"), 1234);
    EXPECT_EQ(WindowHandleArgument("/a 1235.5"), 1236);
    EXPECT_EQ(WindowHandleArgument("/a -7"), -7);
    EXPECT_EQ(ErrorNumberOf("/a"), 5);
    EXPECT_EQ(ErrorNumberOf("/p"), 5);
    EXPECT_EQ(ErrorNumberOf(""), 5);
    EXPECT_EQ(ErrorNumberOf("/a "), 13);
    EXPECT_EQ(ErrorNumberOf("/a abc"), 13);
    EXPECT_EQ(ErrorNumberOf("/a 12ab"), 13);
    EXPECT_EQ(ErrorNumberOf("/a 99999999999"), 6);
}

class StartTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeWindows windows;
    const saver::Settings& settings = windows.settings; // the last window's
    void Run(const std::string& argumentText) {
        fake.environment.argumentText = argumentText;
        Start(fake.platform, windows);
    }
};

TEST_F(StartTest, AnEmptyStoreGivesTheDefaults) {
    Run("/s");
    EXPECT_EQ(settings, (saver::Settings{"C:\\Program Files\\Orvandel", 5, 1, 100, ""}));
    EXPECT_EQ(fake.store.opens, 1) << "the store's section is opened once";
    Run("xyz");
    EXPECT_EQ(windows.opened, std::vector<std::string>{"slideshow"});
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartTest, ReadsTheKeysInOrderAndConvertsThem) {
    fake.store.Set("PicturesPath", "");
    fake.store.Set("DisplayTime", "  12abc");
    fake.store.Set("ShowClock", "2");
    fake.store.Set("MPEGFile", "C:\\Music\\list.m3u");
    fake.store.Set("ScalePercentage", "50.5");
    Run("/S");
    EXPECT_EQ(fake.store.reads,
              (std::vector<std::string>{"PicturesPath", "DisplayTime", "ShowClock", "MPEGFile",
                                        "ScalePercentage"}));
    Run("/s");
    EXPECT_EQ(settings.path, "") << "an existing empty value is not replaced by the default";
    EXPECT_EQ(settings.time, 12);
    EXPECT_EQ(settings.showClock, 2);
    EXPECT_TRUE(settings.IsPlaylist());
    EXPECT_EQ(settings.scalePercentage, 50);
}

TEST_F(StartTest, StoredTimesRoundHalfToEven) {
    const std::pair<const char*, int> cases[] = {
        {"7.5", 8}, {"6.5", 6}, {"no digits", 0}, {"1 2", 12}};
    for (const auto& [stored, expected] : cases) {
        fake.store.Set("DisplayTime", stored);
        Run("");
        EXPECT_EQ(settings.time, expected) << stored;
    }
}

TEST_F(StartTest, AnOutOfRangeScaleEndsStartUpWithOverflow) {
    fake.store.Set("ScalePercentage", "40000");
    try {
        Run("/s");
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
    EXPECT_TRUE(windows.opened.empty());
}

TEST_F(StartTest, APreviewHostMustBeAWindowThatCanHoldIt) {
    windows.hosts[10] = {true, true, false}; // the desktop window
    windows.hosts[11] = {true, false, true}; // a window of this program
    for (const char* command : {"/p 10", "/p 11", "/p 12"})
        Run(command);
    EXPECT_TRUE(windows.opened.empty());
    EXPECT_TRUE(fake.messages.shown.empty()) << "the program ends quietly";
    Run("/p 77");
    EXPECT_EQ(windows.opened, std::vector<std::string>{"preview 77"});
}

TEST_F(StartTest, TheSettingsDialogOpensWithDefaultsForNumbersOutOfRange) {
    const std::pair<const char*, const char*> stored[] = {
        {"DisplayTime", "1e9"}, {"ShowClock", "32768"}, {"ScalePercentage", "4294967295"}};
    for (const auto& [key, value] : stored)
        fake.store.Set(key, value);
    for (const char* command : {"/c", ""}) {
        windows.opened.clear();
        Run(command);
        EXPECT_EQ(windows.opened, std::vector<std::string>{"settings"});
        EXPECT_EQ(settings.time, 5);
        EXPECT_EQ(settings.showClock, 1);
        EXPECT_EQ(settings.scalePercentage, 100);
    }
    for (const char* show : {"/s", "/p 77"}) {
        try {
            Run(show);
            ADD_FAILURE() << show << " did not report the overflow";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), 6) << show;
        }
    }
}

TEST_F(StartTest, DispatchesEachSwitch) {
    Run("/s");
    Run("/c");
    Run("");
    Run("/p 77");
    EXPECT_EQ(windows.opened,
              (std::vector<std::string>{"slideshow", "settings", "settings", "preview 77"}));
}

TEST_F(StartTest, PreviewWithABadHandleShowsTheErrorBox) {
    Run("/p");
    Run("/p abc");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, "5: Invalid procedure call or argument");
    EXPECT_EQ(fake.messages.shown[1],
              (fakes::ShownMessage{"13: Type mismatch", platform::MessageIcon::Critical}));
    EXPECT_TRUE(windows.opened.empty());
}

TEST_F(StartTest, PasswordChangeGetsTheOwnerHandle) {
    Run("/a 4321");
    EXPECT_EQ(fake.session.passwordChanges, std::vector<std::int32_t>{4321});
    EXPECT_THROW(Run("/a"), RuntimeError);
    EXPECT_THROW(Run("/a xy"), RuntimeError);
    EXPECT_EQ(fake.session.passwordChanges.size(), 1u);
}

TEST_F(StartTest, AboutShowsTheBoxWithTitleAndIcon) {
    fake.clock.now.year = 2040;
    Run("/S");
    EXPECT_NE(fake.messages.shown.at(0).text.find("2040"), std::string::npos) << "the clock's year";
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "About - Orvandel");
    EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
    const std::string versionLine =
        std::string("Orvandel - Version: ") + ORVANDEL_VERSION_TEXT + " (Quelbrin)\r";
    EXPECT_EQ(fake.messages.shown[0].text.substr(0, versionLine.size()), versionLine);
}

} // namespace
} // namespace orv::startup
