#include <gtest/gtest.h>

#include <tuple>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "settings/settings_form.h"
#include "settings/settings_layout.h"
#include "startup/startup.h"

namespace orv::settings {
namespace {

using platform::CheckState;
using platform::SettingsControl;
using Writes = std::vector<std::pair<std::string, std::string>>;

class SettingsFormTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeSettingsView view;
    fakes::FakeMusic music;
    fakes::FakePickers pickers;
    fakes::FakeWindows windows;
    std::unique_ptr<SettingsForm> form;

    // Start-up with "/c" reads the store; the dialog then loads and activates.
    void Open() {
        fake.environment.argumentText = "/c";
        startup::Start(fake.platform, windows);
        ASSERT_EQ(windows.opened, std::vector<std::string>{"settings"});
        form =
            std::make_unique<SettingsForm>(fake.platform, windows.settings, view, music, pickers);
        form->Load();
        fake.store.writes.clear();
        fake.store.opens = 0;
    }
    std::string& Field(SettingsControl f) { return view.texts[f]; }
};

TEST_F(SettingsFormTest, LoadShowsTheDefaultsOfAnEmptyStore) {
    Open();
    EXPECT_EQ(view.caption, "Orvandel - Settings");
    EXPECT_EQ(Field(SettingsControl::PicturesPath), "C:\\Program Files\\Orvandel");
    EXPECT_EQ(Field(SettingsControl::DisplayTime), "5");
    EXPECT_EQ(view.clock, CheckState::Checked);
    EXPECT_EQ(Field(SettingsControl::ScalePercentage), "100");
    EXPECT_EQ(Field(SettingsControl::MusicFile), "");
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadNotifyWindow"});
    EXPECT_FALSE(view.trackButtonsVisible.has_value()) << "Back/Next are left hidden at load";
    EXPECT_EQ(view.placed, std::vector<SettingsControl>{SettingsControl::PicturesPath});
}

TEST_F(SettingsFormTest, LoadShowsStoredValuesAndTheClockStates) {
    const std::pair<const char*, CheckState> cases[] = {
        {"0", CheckState::Unchecked}, {"1", CheckState::Checked},  {"2", CheckState::Grayed},
        {"3", CheckState::Checked},   {"-1", CheckState::Checked},
    };
    for (const auto& [stored, state] : cases) {
        SCOPED_TRACE(stored);
        fake.store.values.clear();
        windows.opened.clear();
        music.calls.clear();
        fake.store.Set("ShowClock", stored);
        fake.store.Set("PicturesPath", "D:\\Pics");
        fake.store.Set("DisplayTime", "12.5");
        fake.store.Set("MPEGFile", "D:\\m\\list.m3u");
        Open();
        EXPECT_EQ(view.clock, state);
        EXPECT_EQ(Field(SettingsControl::PicturesPath), "D:\\Pics");
        EXPECT_EQ(Field(SettingsControl::DisplayTime), "12");
        EXPECT_EQ(Field(SettingsControl::MusicFile), "D:\\m\\list.m3u");
        EXPECT_FALSE(view.trackButtonsVisible.has_value());
    }
}

TEST_F(SettingsFormTest, OkAtOnceWritesTheFiveValuesInOrder) {
    Open();
    form->OnOk();
    EXPECT_EQ(fake.store.writes, (Writes{{"PicturesPath", "C:\\Program Files\\Orvandel"},
                                         {"DisplayTime", "5"},
                                         {"ShowClock", "1"},
                                         {"ScalePercentage", "100"},
                                         {"MPEGFile", ""}}));
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\MPEGFile"), "");
    EXPECT_EQ(fake.store.opens, 1) << "the five values through one opening of the store";
}

TEST_F(SettingsFormTest, OkWritesTheRoundedNumbers) {
    const struct {
        const char* time;
        const char* scale;
        CheckState clock;
        const char* timeWritten;
        const char* scaleWritten;
        const char* clockWritten;
    } cases[] = {
        {"7.6", "50.5", CheckState::Unchecked, "8", "50", "0"},
        {"2.5", "1e2", CheckState::Checked, "2", "100", "1"},
        {"abc", "50%", CheckState::Grayed, "0", "50", "2"},
        {"-3", "&H10", CheckState::Checked, "-3", "16", "1"},
        {" 1 2x", "99.5", CheckState::Checked, "12", "100", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.time);
        fake.store.values.clear();
        windows.opened.clear();
        Open();
        Field(SettingsControl::PicturesPath) = "E:\\Pix\\";
        Field(SettingsControl::DisplayTime) = c.time;
        Field(SettingsControl::ScalePercentage) = c.scale;
        Field(SettingsControl::MusicFile) = "E:\\a b.mp3";
        view.clock = c.clock;
        form->OnOk();
        EXPECT_EQ(fake.store.writes, (Writes{{"PicturesPath", "E:\\Pix\\"},
                                             {"DisplayTime", c.timeWritten},
                                             {"ShowClock", c.clockWritten},
                                             {"ScalePercentage", c.scaleWritten},
                                             {"MPEGFile", "E:\\a b.mp3"}}));
    }
}

TEST_F(SettingsFormTest, CancelWritesNothing) {
    fake.store.Set("DisplayTime", "9");
    Open();
    Field(SettingsControl::DisplayTime) = "30";
    Field(SettingsControl::PicturesPath) = "X:\\";
    form->OnCancel();
    EXPECT_TRUE(fake.store.writes.empty());
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\DisplayTime"), "9");
}

TEST_F(SettingsFormTest, ADisplayTimeThatDoesNotFitIsRefusedAndNothingWritten) {
    for (const char* time : {"32768", "99999", "-32769", "1e10", "&HFFFF0"}) {
        SCOPED_TRACE(time);
        fake.store.values.clear();
        windows.opened.clear();
        fake.messages.shown.clear();
        view.focused.clear();
        Open();
        Field(SettingsControl::DisplayTime) = time;
        form->OnOk();
        EXPECT_TRUE(fake.store.writes.empty());
        EXPECT_EQ(view.closes, 0);
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].text, "Must be between -32768 and 32767!");
        EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
        EXPECT_EQ(fake.messages.shown[0].title, "Orvandel");
        EXPECT_EQ(view.focused, std::vector<SettingsControl>{SettingsControl::DisplayTime});
        EXPECT_EQ(Field(SettingsControl::DisplayTime), time) << "the typed text stays";
    }
    // The edges of the range are accepted.
    Field(SettingsControl::DisplayTime) = "32767";
    form->OnOk();
    EXPECT_EQ(view.closes, 1);
}

TEST_F(SettingsFormTest, ARefusedWriteIsReportedAndTheEarlierWritesArePutBack) {
    fake.store.Set("PicturesPath", "D:\\Old");
    fake.store.Set("DisplayTime", "7");
    Open();
    Field(SettingsControl::PicturesPath) = "D:\\New";
    Field(SettingsControl::DisplayTime) = "20";
    view.clock = CheckState::Unchecked;
    fake.store.refuseKey = "ScalePercentage";
    form->OnOk();

    EXPECT_EQ(view.closes, 0) << "the dialog stays open";
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "The settings could not be saved!\r70 Permission denied");
    EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Exclamation);
    // What the next start reads is what it read before.
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\PicturesPath"), "D:\\Old");
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\DisplayTime"), "7");
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\ShowClock"), "1");

    // Once the store takes it, the same OK goes through.
    fake.store.refuseKey.clear();
    form->OnOk();
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\DisplayTime"), "20");
}

TEST_F(SettingsFormTest, UnloadStopsTheMusic) {
    Open();
    music.calls.clear();
    form->OnUnload();
    EXPECT_EQ(music.calls, (std::vector<std::string>{"UnloadNotifyWindow", "Stop"}));
}

TEST_F(SettingsFormTest, PlayPicksTheFileOrTheFirstTrackOfAList) {
    Open();
    music.playlists["C:\\m\\list.m3u"] = {"C:\\m\\one.mp3", "C:\\m\\two.mp3"};
    const struct {
        const char* field;
        std::vector<std::string> calls;
        bool buttons;
    } cases[] = {
        {"", {"Play  once"}, false},
        {"C:\\m\\tune.wav", {"Play C:\\m\\tune.wav once"}, false},
        {"C:\\m\\list.m3u", {"LoadPlaylist C:\\m\\list.m3u", "PlayTrack C:\\m\\one.mp3"}, true},
        {"C:\\m\\gone.m3u", {"LoadPlaylist C:\\m\\gone.m3u"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        music.calls.clear();
        Field(SettingsControl::MusicFile) = c.field;
        form->OnPlay();
        EXPECT_EQ(music.calls, c.calls);
        EXPECT_EQ(view.trackButtonsVisible, c.buttons);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsFormTest, TheFolderButtonFillsTheFieldUnlessCancelled) {
    Open();
    Field(SettingsControl::PicturesPath) = "C:\\Before";
    form->OnSelectPath();
    EXPECT_EQ(Field(SettingsControl::PicturesPath), "C:\\Before");
    pickers.folderAnswer = "C:\\Users\\ann\\Fotos";
    form->OnSelectPath();
    EXPECT_EQ(Field(SettingsControl::PicturesPath), "C:\\Users\\ann\\Fotos");
    ASSERT_EQ(pickers.folderRequests.size(), 2u);
    EXPECT_EQ(pickers.folderRequests[1].owner, view.handle);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsFormTest, TheFileButtonFillsTheFieldAndReadsAListWithoutPlaying) {
    Open();
    Field(SettingsControl::MusicFile) = "C:\\old.mp3";
    music.calls.clear();
    form->OnSelectMusicFile();
    EXPECT_EQ(Field(SettingsControl::MusicFile), "C:\\old.mp3");
    EXPECT_FALSE(view.trackButtonsVisible.has_value());

    music.playlists["C:\\M Y\\List.M3U"] = {"C:\\M Y\\a.mp3"};
    pickers.fileAnswer = "C:\\M Y\\List.M3U";
    form->OnSelectMusicFile();
    EXPECT_EQ(Field(SettingsControl::MusicFile), "C:\\M Y\\List.M3U");
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlaylist C:\\M Y\\List.M3U"});

    pickers.fileAnswer = "C:\\tune.mp3";
    form->OnSelectMusicFile();
    EXPECT_EQ(view.trackButtonsVisible, false);
    EXPECT_EQ(pickers.fileRequests.back().owner, view.handle);
}

TEST(SettingsLayoutTest, ControlsSitAtTheirTwipsConvertedToPixels) {
    using C = platform::SettingsControl;
    const struct {
        int id;
        double tpp;
        PixelRect px;
    } cases[] = {
        {Find(C::PicturesPath).id, 15, {136, 24, 224, 19}}, // frame 1920,240 + frame 120,120
        {Find(C::Ok).id, 15, {104, 136, 97, 25}},           // on the window itself
        {Find(C::Back).id, 15, {384, 80, 25, 19}},
        {130, 15, {8, 8, 433, 121}},
        {136, 15, {200, 45, 57, 17}},                       // "seconds" at top 560: edges rounded
        {Find(C::PicturesPath).id, 10, {204, 36, 336, 29}}, // 144 dpi: bottom 64.5 rounds up
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto* control = FindById(c.id);
        ASSERT_NE(control, nullptr);
        const auto r = ToPixels(*control, c.tpp, c.tpp);
        EXPECT_EQ(r.x, c.px.x);
        EXPECT_EQ(r.y, c.px.y);
        EXPECT_EQ(r.width, c.px.width);
        EXPECT_EQ(r.height, c.px.height);
    }
    EXPECT_EQ(TwipsToPixels(kClientWidth, 15), 448);
    EXPECT_EQ(TwipsToPixels(kClientHeight, 15), 166);
}

TEST(SettingsLayoutTest, EachControlIsMadeWithTheLookAndFocusRuleOfItsRow) {
    // look, visible, tab stop, right-aligned, bold, asks for the focus, behind
    const std::pair<int, ControlShape> cases[] = {
        {102, {Look::Field, true, true, true, false, true, false}},
        {1, {Look::DefaultButton, true, true, false, false, true, false}},
        {2, {Look::PushButton, true, true, false, false, false, false}},
        {119, {Look::PushButton, false, true, false, true, true, false}},
        {131, {Look::Label, true, false, true, false, false, false}},
        {130, {Look::GroupBox, true, false, false, false, false, true}},
    };
    const auto fields = [](const ControlShape& s) {
        return std::tuple(s.look, s.visible, s.tabStop, s.rightAligned, s.boldFont, s.asksForFocus,
                          s.behind);
    };
    for (const auto& [id, want] : cases)
        EXPECT_EQ(fields(ShapeOf(*FindById(id))), fields(want)) << id;
}

} // namespace
} // namespace orv::settings
