#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "slideshow/show_driver.h"

namespace orv::slideshow {
namespace {

// The show as its window drives it: events in, the window's actions out,
// the services' part carried out on the fakes.
class ShowDriverTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeMusic music;
    saver::Settings stored{"C:\\Pics", 5, 1, 100, "C:\\Music\\list.m3u"};
    std::optional<ShowDriver> driver;
    ShowActions actions;

    void Open(bool preview = false) {
        driver.emplace(MakeShowSettings(stored, preview, fake.environment, fake.wallpaper),
                       fake.platform, music);
        driver->SetOwner(4242);
        Send(Start{{{{{0, 0, 1024, 768}, 96, true}}, {}}, {}, std::nullopt, {}});
    }
    void Send(ShowEvent event) { actions = driver->Handle(std::move(event)); }
    template <class A> bool Has() const {
        return std::any_of(actions.begin(), actions.end(),
                           [](const ShowAction& a) { return std::holds_alternative<A>(a); });
    }
};

TEST_F(ShowDriverTest, TheStartReadsTheFolderAndTheClockAndTakesOverTheDesktop) {
    fake.files.AddFile("C:\\Pics\\a.jpg");
    fake.files.AddFile("C:\\Pics\\notes.txt");
    Open();
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"SetScreenSaverRunning(true)", "ShowCursor(false)"}));
    const auto label = std::find_if(actions.begin(), actions.end(), [](const ShowAction& a) {
        const auto* set = std::get_if<SetLabel>(&a);
        return set && set->label == Label::Clock;
    });
    ASSERT_NE(label, actions.end());
    EXPECT_EQ(std::get<SetLabel>(*label).state.text, "17:05:09 ");
    EXPECT_FALSE(Has<TakeOverDesktop>()) << "the services' actions stay with the driver";
    // The first tick prepares the one picture of the folder.
    Send(Tick{Timer::ShowPicture, {}});
    const auto job = std::find_if(actions.begin(), actions.end(), [](const ShowAction& a) {
        return std::holds_alternative<StartPreparation>(a);
    });
    ASSERT_NE(job, actions.end());
    EXPECT_EQ(std::get<StartPreparation>(*job).job.monitors.at(0).path, "C:\\Pics\\a.jpg");
}

TEST_F(ShowDriverTest, ThePasswordIsAskedOfTheSessionAndItsAnswerDecides) {
    fake.session.SetPasswordSwitch(platform::RegistryType::Text, std::string("1\0", 2));
    fake.session.passwordAnswers = {0, 1};
    Open();
    fake.session.calls.clear();
    Send(Typed{'a'});
    EXPECT_FALSE(Has<Hide>()) << "refused: the show goes on";
    EXPECT_EQ(fake.session.calls,
              (std::vector<std::string>{"ShowCursor(true)", "VerifyPassword(4242)",
                                        "ShowCursor(false)"}));
    Send(Typed{'b'});
    EXPECT_TRUE(Has<Hide>());
    EXPECT_TRUE(Has<End>());
    EXPECT_EQ(fake.session.calls.back(), "ShowCursor(true)");
    EXPECT_NE(std::find(fake.session.calls.begin(), fake.session.calls.end(),
                        "SetScreenSaverRunning(false)"),
              fake.session.calls.end());
}

TEST_F(ShowDriverTest, TheMusicAndTheWallpaperGoToTheirServices) {
    music.playlists["C:\\Music\\list.m3u"] = {"C:\\Music\\one.mp3", "C:\\Music\\two.mp3"};
    Open();
    Send(Tick{Timer::ShowPicture, {}}); // no picture yet: the music starts at once
    Send(KeyDown{kKeyN, kAltMask});
    Send(WallpaperDone{{1, "C:\\windows\\Orvandel.bmp"}}); // not asked for: dropped
    Send(CloseAsked{});
    EXPECT_EQ(music.calls,
              (std::vector<std::string>{"LoadNotifyWindow", "LoadPlaylist C:\\Music\\list.m3u",
                                        "PlayTrack C:\\Music\\one.mp3", "NextTrack",
                                        "UnloadNotifyWindow", "Stop"}));
    EXPECT_TRUE(fake.wallpaper.calls.empty());
    // A single file repeats; a preview plays nothing.
    music.calls.clear();
    stored.musicFile = "C:\\Music\\tune.mp3";
    Open();
    Send(Tick{Timer::ShowPicture, {}});
    EXPECT_EQ(music.calls, std::vector<std::string>{"Play C:\\Music\\tune.mp3 repeated"});
    music.calls.clear();
    Open(true);
    Send(Tick{Timer::ShowPicture, {}});
    Send(CloseAsked{});
    EXPECT_TRUE(music.calls.empty());
    EXPECT_TRUE(
        MakeShowSettings(stored, true, fake.environment, fake.wallpaper).windowsFolder.empty())
        << "a preview makes no wallpaper";
}

} // namespace
} // namespace orv::slideshow
