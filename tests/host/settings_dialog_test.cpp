#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "settings/frm_settings.h"
#include "settings/settings_layout.h"

namespace orv {
namespace {

using platform::CheckState;
using platform::SettingsField;
using Writes = std::vector<std::pair<std::string, std::string>>;

class SettingsDialogTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeSettingsView view;
    fakes::FakeMusic music;
    fakes::FakePickers pickers;
    modScreenSaver module;
    std::unique_ptr<frmSettings> form;

    // Start-up with "/c" reads the store; the dialog then loads and activates.
    void Open() {
        fake.environment.argumentText = "/c";
        Main(fake.platform, module);
        ASSERT_EQ(fake.forms.opened, std::vector<std::string>{"settings"});
        form = std::make_unique<frmSettings>(fake.platform, module, view, music, pickers);
        form->Form_Load();
        form->Form_Activate();
        fake.store.writes.clear();
    }
    std::string& Field(SettingsField f) { return view.texts[f]; }
};

TEST_F(SettingsDialogTest, LoadShowsTheDefaultsOfAnEmptyStore) {
    Open();
    EXPECT_EQ(view.caption, "Orvandel - Settings");
    EXPECT_EQ(Field(SettingsField::PicturesPath), "C:\\Program Files\\Orvandel");
    EXPECT_EQ(Field(SettingsField::DisplayTime), "5");
    EXPECT_EQ(view.clock, CheckState::Checked);
    EXPECT_EQ(Field(SettingsField::ScalePercentage), "100");
    EXPECT_EQ(Field(SettingsField::MPEGFile), "");
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadNotifyWindow"});
    EXPECT_FALSE(view.trackButtonsVisible.has_value()) << "Back/Next are left hidden at load";
}

TEST_F(SettingsDialogTest, LoadShowsStoredValuesAndTheClockStates) {
    const std::pair<const char*, CheckState> cases[] = {
        {"0", CheckState::Unchecked}, {"1", CheckState::Checked},  {"2", CheckState::Grayed},
        {"3", CheckState::Checked},   {"-1", CheckState::Checked},
    };
    for (const auto& [stored, state] : cases) {
        SCOPED_TRACE(stored);
        fake.store.values.clear();
        fake.forms.opened.clear();
        music.calls.clear();
        fake.store.Set("ShowClock", stored);
        fake.store.Set("PicturesPath", "D:\\Pics");
        fake.store.Set("DisplayTime", "12.5");
        fake.store.Set("MPEGFile", "D:\\m\\list.m3u");
        Open();
        EXPECT_EQ(view.clock, state);
        EXPECT_EQ(Field(SettingsField::PicturesPath), "D:\\Pics");
        EXPECT_EQ(Field(SettingsField::DisplayTime), "12");
        EXPECT_EQ(Field(SettingsField::MPEGFile), "D:\\m\\list.m3u");
        EXPECT_FALSE(view.trackButtonsVisible.has_value());
    }
}

TEST_F(SettingsDialogTest, OkAtOnceWritesTheFiveValuesInOrder) {
    Open();
    form->cmdOk_Click();
    EXPECT_EQ(fake.store.writes, (Writes{{"PicturesPath", "C:\\Program Files\\Orvandel"},
                                         {"DisplayTime", "5"},
                                         {"ShowClock", "1"},
                                         {"ScalePercentage", "100"},
                                         {"MPEGFile", ""}}));
    EXPECT_EQ(view.unloads, 1);
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\MPEGFile"), "");
}

TEST_F(SettingsDialogTest, OkWritesTheRoundedNumbers) {
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
        fake.forms.opened.clear();
        Open();
        Field(SettingsField::PicturesPath) = "E:\\Pix\\";
        Field(SettingsField::DisplayTime) = c.time;
        Field(SettingsField::ScalePercentage) = c.scale;
        Field(SettingsField::MPEGFile) = "E:\\a b.mp3";
        view.clock = c.clock;
        form->cmdOk_Click();
        EXPECT_EQ(fake.store.writes, (Writes{{"PicturesPath", "E:\\Pix\\"},
                                             {"DisplayTime", c.timeWritten},
                                             {"ShowClock", c.clockWritten},
                                             {"ScalePercentage", c.scaleWritten},
                                             {"MPEGFile", "E:\\a b.mp3"}}));
    }
}

TEST_F(SettingsDialogTest, CancelWritesNothing) {
    fake.store.Set("DisplayTime", "9");
    Open();
    Field(SettingsField::DisplayTime) = "30";
    Field(SettingsField::PicturesPath) = "X:\\";
    form->cmdCancel_Click();
    EXPECT_TRUE(fake.store.writes.empty());
    EXPECT_EQ(view.unloads, 1);
    EXPECT_EQ(module.objPicSS->Time(), 9);
}

TEST_F(SettingsDialogTest, ADisplayTimeThatDoesNotFitIsRefusedAndNothingWritten) {
    for (const char* time : {"32768", "99999", "-32769", "1e10", "&HFFFF0"}) {
        SCOPED_TRACE(time);
        fake.store.values.clear();
        fake.forms.opened.clear();
        fake.messages.shown.clear();
        view.focused.clear();
        Open();
        Field(SettingsField::DisplayTime) = time;
        form->cmdOk_Click();
        EXPECT_TRUE(fake.store.writes.empty());
        EXPECT_EQ(view.unloads, 0);
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_EQ(fake.messages.shown[0].text, "Must be between -32768 and 32767!");
        EXPECT_EQ(fake.messages.shown[0].style, 64);
        EXPECT_EQ(fake.messages.shown[0].title, "Orvandel");
        EXPECT_EQ(view.focused, std::vector<SettingsField>{SettingsField::DisplayTime});
        EXPECT_EQ(module.objPicSS->Time(), 5);
        EXPECT_EQ(Field(SettingsField::DisplayTime), time) << "the typed text stays";
    }
    // The edges of the range are accepted.
    Field(SettingsField::DisplayTime) = "32767";
    form->cmdOk_Click();
    EXPECT_EQ(view.unloads, 1);
}

TEST_F(SettingsDialogTest, ARefusedWriteIsReportedAndTheEarlierWritesArePutBack) {
    fake.store.Set("PicturesPath", "D:\\Old");
    fake.store.Set("DisplayTime", "7");
    Open();
    Field(SettingsField::PicturesPath) = "D:\\New";
    Field(SettingsField::DisplayTime) = "20";
    view.clock = CheckState::Unchecked;
    fake.store.refuseKey = "ScalePercentage";
    form->cmdOk_Click();

    EXPECT_EQ(view.unloads, 0) << "the dialog stays open";
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "The settings could not be saved!\r70 Permission denied");
    EXPECT_EQ(fake.messages.shown[0].style, 48);
    // What the next start reads is what it read before.
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\PicturesPath"), "D:\\Old");
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\DisplayTime"), "7");
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\ShowClock"), "1");
    EXPECT_EQ(module.objPicSS->Path(), "D:\\Old");
    EXPECT_EQ(module.objPicSS->Time(), 7);
    EXPECT_EQ(module.objPicSS->ShowClock(), 1);

    // Once the store takes it, the same OK goes through.
    fake.store.refuseKey.clear();
    form->cmdOk_Click();
    EXPECT_EQ(view.unloads, 1);
    EXPECT_EQ(fake.store.values.at("Orvandel\\Settings\\DisplayTime"), "20");
}

TEST_F(SettingsDialogTest, UnloadStopsTheMusicAndReleasesTheObject) {
    Open();
    music.calls.clear();
    form->Form_Unload();
    EXPECT_EQ(music.calls, (std::vector<std::string>{"UnloadNotifyWindow", "StopMusic"}));
    EXPECT_EQ(module.objPicSS, nullptr);
    EXPECT_EQ(form->FileDialog(), nullptr);
    EXPECT_EQ(form->PathDialog(), nullptr);
}

TEST_F(SettingsDialogTest, ActivateMakesFreshPickers) {
    Open();
    const auto* file = form->FileDialog();
    const auto* path = form->PathDialog();
    ASSERT_NE(file, nullptr);
    ASSERT_NE(path, nullptr);
    pickers.fileAnswer = std::string("C:\\x.mp3") + '\0';
    form->cmdSelectMPEGFile_Click();
    form->Form_Activate();
    EXPECT_NE(form->FileDialog()->Record().filterIndex, 2) << "a new picker has an empty record";
}

TEST_F(SettingsDialogTest, PlayPicksTheFileOrTheFirstTrackOfAList) {
    Open();
    music.playlists["C:\\m\\list.m3u"] = {"C:\\m\\one.mp3", "C:\\m\\two.mp3"};
    const struct {
        const char* field;
        std::vector<std::string> calls;
        bool buttons;
    } cases[] = {
        {"", {"PlayMusic |"}, false},
        {"C:\\m\\tune.wav", {"PlayMusic C:\\m\\tune.wav|"}, false},
        {"C:\\m\\list.m3u", {"LoadPlayList C:\\m\\list.m3u", "PlayMusic C:\\m\\one.mp3|"}, true},
        {"C:\\m\\gone.m3u", {"LoadPlayList C:\\m\\gone.m3u"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        music.calls.clear();
        Field(SettingsField::MPEGFile) = c.field;
        form->cmdPlay_Click();
        EXPECT_EQ(music.calls, c.calls);
        EXPECT_EQ(view.trackButtonsVisible, c.buttons);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsDialogTest, TheFolderButtonFillsTheFieldUnlessCancelled) {
    Open();
    Field(SettingsField::PicturesPath) = "C:\\Before";
    form->cmdSelectPath_Click();
    EXPECT_EQ(Field(SettingsField::PicturesPath), "C:\\Before");
    pickers.folderAnswer = std::string("C:\\Users\\ann\\Fotos") + '\0' + "   ";
    form->cmdSelectPath_Click();
    EXPECT_EQ(Field(SettingsField::PicturesPath), "C:\\Users\\ann\\Fotos");
    ASSERT_EQ(pickers.folderRequests.size(), 2u);
    EXPECT_EQ(pickers.folderRequests[1].owner, view.handle);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsDialogTest, TheFileButtonFillsTheFieldAndReadsAListWithoutPlaying) {
    Open();
    Field(SettingsField::MPEGFile) = "C:\\old.mp3";
    music.calls.clear();
    form->cmdSelectMPEGFile_Click();
    EXPECT_EQ(Field(SettingsField::MPEGFile), "C:\\old.mp3");
    EXPECT_FALSE(view.trackButtonsVisible.has_value());

    music.playlists["C:\\M Y\\List.M3U"] = {"C:\\M Y\\a.mp3"};
    pickers.fileAnswer = std::string("C:\\M Y\\List.M3U") + '\0';
    form->cmdSelectMPEGFile_Click();
    EXPECT_EQ(Field(SettingsField::MPEGFile), "C:\\M Y\\List.M3U");
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlayList C:\\M Y\\List.M3U"});

    pickers.fileAnswer = std::string("C:\\tune.mp3") + '\0';
    form->cmdSelectMPEGFile_Click();
    EXPECT_EQ(view.trackButtonsVisible, false);
    EXPECT_EQ(pickers.fileRequests.back().owner, view.handle);
}

TEST(SettingsLayoutTest, ControlsSitAtTheirTwipsConvertedToPixels) {
    namespace L = settings_layout;
    const struct {
        int id;
        double tpp;
        L::PixelRect px;
    } cases[] = {
        {L::kPicturesPath, 15, {136, 24, 224, 19}}, // frame 1920,240 + frame 120,120
        {L::kOk, 15, {104, 136, 97, 25}},           // on the window itself
        {L::kPrev, 15, {384, 80, 25, 19}},
        {L::kFrame, 15, {8, 8, 433, 121}},
        {136, 15, {200, 45, 57, 17}},               // "seconds" at top 560: edges rounded
        {L::kPicturesPath, 10, {204, 36, 336, 29}}, // 144 dpi: bottom 64.5 rounds up
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const auto* control = L::Find(c.id);
        ASSERT_NE(control, nullptr);
        const auto r = L::ToPixels(*control, c.tpp, c.tpp);
        EXPECT_EQ(r.x, c.px.x);
        EXPECT_EQ(r.y, c.px.y);
        EXPECT_EQ(r.width, c.px.width);
        EXPECT_EQ(r.height, c.px.height);
    }
    EXPECT_EQ(L::TwipsToPixels(L::kClientWidth, 15), 448);
    EXPECT_EQ(L::TwipsToPixels(L::kClientHeight, 15), 166);
}

} // namespace
} // namespace orv
