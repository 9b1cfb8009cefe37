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
    // Made at once for the checks; Open() makes it as the program does.
    std::unique_ptr<SettingsForm> form =
        std::make_unique<SettingsForm>(fake.platform, saver::Settings{}, view, music, pickers);

    void SetUp() override {
        fake.files.AddFolder("C:\\Pics");
        fake.files.AddFile("C:\\Pics\\a.jpg");
        fake.files.AddFile("C:\\Music\\tune.mp3");
        fake.files.AddFile("C:\\Music\\list.m3u");
        fake.files.entries.push_back({"C:\\Music\\secret.mp3", false, true, false, ""});
        fake.files.entries.push_back({"C:\\Hidden", true, true, false, ""});
    }

    // Start-up with "/c" reads the store; the dialog then loads and activates.
    void Open() {
        fake.environment.argumentText = "/c";
        startup::Start(fake.platform, windows);
        ASSERT_EQ(windows.opened, std::vector<std::string>{"settings"});
        form =
            std::make_unique<SettingsForm>(fake.platform, windows.settings, view, music, pickers);
        form->Load(view.handle);
        fake.store.writes.clear();
        fake.store.opens = 0;
    }
    std::string& Field(SettingsControl f) { return view.texts[f]; }
    // A form made with the clock's third state, as its window shows it.
    void ShowGrayedClock() {
        form = std::make_unique<SettingsForm>(fake.platform, saver::Settings{"", 5, 2, 100, ""},
                                              view, music, pickers);
        view.clock = CheckState::Grayed;
    }
    // The user edits a field.
    void Type(SettingsControl f, const std::string& text) {
        Field(f) = text;
        form->OnFieldChanged(f, text);
    }
    // Runs the check of `field` holding `text`; whether the focus may leave.
    bool Leave(SettingsControl field, const std::string& text) {
        fake.messages.shown.clear();
        Type(field, text);
        return form->MayMoveFocus(field, SettingsControl::Ok);
    }
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
        fake.store.Set("ShowClock", c.clockWritten);
        windows.opened.clear();
        Open();
        Type(SettingsControl::PicturesPath, "E:\\Pix\\");
        Type(SettingsControl::DisplayTime, c.time);
        Type(SettingsControl::ScalePercentage, c.scale);
        Type(SettingsControl::MusicFile, "E:\\a b.mp3");
        EXPECT_EQ(view.clock, c.clock);
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
    Type(SettingsControl::DisplayTime, "30");
    Type(SettingsControl::PicturesPath, "X:\\");
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
        Type(SettingsControl::DisplayTime, time);
        form->OnOk();
        EXPECT_TRUE(fake.store.writes.empty());
        EXPECT_EQ(view.closes, 0);
        EXPECT_EQ(fake.messages.shown, fakes::ShownMessages{{"Must be between -32768 and 32767!"}});
        EXPECT_EQ(view.focused, std::vector<SettingsControl>{SettingsControl::DisplayTime});
        EXPECT_EQ(Field(SettingsControl::DisplayTime), time) << "the typed text stays";
    }
    // The edges of the range are accepted.
    Type(SettingsControl::DisplayTime, "32767");
    form->OnOk();
    EXPECT_EQ(view.closes, 1);
}

TEST_F(SettingsFormTest, ARefusedWriteIsReportedAndTheEarlierWritesArePutBack) {
    fake.store.Set("PicturesPath", "D:\\Old");
    fake.store.Set("DisplayTime", "7");
    Open();
    Type(SettingsControl::PicturesPath, "D:\\New");
    Type(SettingsControl::DisplayTime, "20");
    form->OnClockClicked(); // checked to unchecked
    fake.store.refuseKey = "ScalePercentage";
    form->OnOk();

    EXPECT_EQ(view.closes, 0) << "the dialog stays open";
    EXPECT_EQ(fake.messages.shown,
              (fakes::ShownMessages{{"The settings could not be saved!\r70 Permission denied",
                                     platform::MessageIcon::Exclamation}}));
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
        Type(SettingsControl::MusicFile, c.field);
        form->OnPlay();
        EXPECT_EQ(music.calls, c.calls);
        EXPECT_EQ(view.trackButtonsVisible, c.buttons);
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsFormTest, TheFolderButtonFillsTheFieldUnlessCancelled) {
    Open();
    Type(SettingsControl::PicturesPath, "C:\\Before");
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
    Type(SettingsControl::MusicFile, "C:\\old.mp3");
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

// Each checked field: the texts the focus may leave it with, and the
// message of a refusal. The text is never changed.
TEST_F(SettingsFormTest, TheFolderMusicAndScaleFieldsAreChecked) {
    using Texts = std::vector<std::pair<const char*, bool>>;
    const Texts folders = {{"C:\\Pics", true},
                           {"C:\\Pics\\", true},
                           {"c:\\pics", true},
                           {"C:\\Pics\\a.jpg", true},
                           {"C:\\Nowhere", false},
                           {"C:\\Hidden", false},
                           {"", false},
                           {"C:\\Music\\secret.mp3", false}};
    // Any ordinary file is a music file: the extension is not looked at.
    const Texts musicFiles = {{"", true},
                              {"C:\\Music\\tune.mp3", true},
                              {"C:\\Pics\\a.jpg", true},
                              {"C:\\Music\\missing.mp3", false},
                              {"C:\\Pics", false},
                              {"C:\\Music\\secret.mp3", false}};
    const Texts scales = {{"1", true},    {"100", true}, {"50%", true},  {"1e2", true},
                          {"0.5", false}, {"0", false},  {"101", false}, {"-5", false},
                          {"abc", false}, {"", false},   {"99.9", true}, {"100.1", false},
                          {"&H64", true}, {" 7", true}};
    const std::tuple<SettingsControl, const char*, const Texts&> cases[] = {
        {SettingsControl::PicturesPath, "Invalid dir!", folders},
        {SettingsControl::MusicFile, "Invalid file!", musicFiles},
        {SettingsControl::ScalePercentage, "Must be between 1 and 100!", scales}};
    for (const auto& [field, refusal, texts] : cases)
        for (const auto& [text, accepted] : texts) {
            SCOPED_TRACE(text);
            EXPECT_EQ(Leave(field, text), accepted);
            EXPECT_EQ(fake.messages.shown,
                      accepted ? fakes::ShownMessages{} : fakes::ShownMessages{{refusal}});
            EXPECT_EQ(view.texts[field], text);
            if (field == SettingsControl::MusicFile) {
                EXPECT_EQ(view.trackButtonsVisible, false);
            }
        }
}

TEST_F(SettingsFormTest, AMissingListIsRefusedButTheTrackButtonsShowAndTheListIsRead) {
    music.calls.clear();
    EXPECT_FALSE(Leave(SettingsControl::MusicFile, "C:\\Music\\gone.m3u"));
    EXPECT_EQ(fake.messages.shown.at(0).text, "Invalid file!");
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlaylist C:\\Music\\gone.m3u"});

    music.calls.clear();
    EXPECT_TRUE(Leave(SettingsControl::MusicFile, "C:\\Music\\list.m3u"));
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlaylist C:\\Music\\list.m3u"});

    music.calls.clear();
    EXPECT_TRUE(Leave(SettingsControl::MusicFile, "C:\\Music\\tune.mp3"));
    EXPECT_EQ(view.trackButtonsVisible, false);
    EXPECT_TRUE(music.calls.empty()) << "only a playlist is read";
}

TEST_F(SettingsFormTest, DisplayTimeHasNoCheck) {
    EXPECT_TRUE(Leave(SettingsControl::DisplayTime, "abc"));
    EXPECT_TRUE(Leave(SettingsControl::DisplayTime, "-4"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsFormTest, EveryTextFieldSelectsAllWhenItGetsTheFocus) {
    for (auto field : {SettingsControl::PicturesPath, SettingsControl::DisplayTime,
                       SettingsControl::ScalePercentage, SettingsControl::MusicFile})
        form->OnFieldFocused(field);
    EXPECT_EQ(view.selected, (std::vector<SettingsControl>{
                                 SettingsControl::PicturesPath, SettingsControl::DisplayTime,
                                 SettingsControl::ScalePercentage, SettingsControl::MusicFile}));
}

TEST_F(SettingsFormTest, WhichMovesRunTheCheckOfTheFieldLeft) {
    Type(SettingsControl::ScalePercentage, "0"); // refused whenever it is checked
    const struct {
        std::optional<SettingsControl> from;
        SettingsControl to;
        bool checked;
    } cases[] = {
        {SettingsControl::ScalePercentage, SettingsControl::Ok, true},
        {SettingsControl::ScalePercentage, SettingsControl::DisplayTime, true},
        {SettingsControl::ScalePercentage, SettingsControl::Cancel, false},
        {SettingsControl::ScalePercentage, SettingsControl::ScalePercentage, false},
        {SettingsControl::DisplayTime, SettingsControl::Ok, false},
        {SettingsControl::ShowClock, SettingsControl::Ok, false},
        {std::nullopt, SettingsControl::Ok, false},
    };
    for (const auto& c : cases) {
        fake.messages.shown.clear();
        view.placed.clear();
        EXPECT_EQ(form->MayMoveFocus(c.from, c.to), !c.checked);
        EXPECT_EQ(fake.messages.shown.size(), c.checked ? 1u : 0u);
        // A refusal gives the focus back to the field the message box took it from.
        EXPECT_EQ(view.placed, c.checked ? std::vector{*c.from} : std::vector<SettingsControl>{});
    }
}

TEST_F(SettingsFormTest, TheCheckedFieldsTakeTabAndRefusedMovesAreDropped) {
    Type(SettingsControl::ScalePercentage, "0"); // refused; an empty music file is not
    using enum SettingsControl;
    using enum ControlInput;
    using enum ControlReply;
    const struct {
        SettingsControl control, from;
        ControlInput input;
        std::optional<SettingsControl> next;
        ControlReply reply;
        std::vector<SettingsControl> focused;
    } cases[] = {
        {ScalePercentage, ScalePercentage, TabQuery, {}, WantTab, {}},
        {DisplayTime, DisplayTime, TabQuery, {}, Pass, {}},
        {ScalePercentage, ScalePercentage, TabCharacter, {}, Drop, {}},
        {DisplayTime, DisplayTime, TabCharacter, {}, Pass, {}},
        {ScalePercentage, ScalePercentage, Tab, MusicFile, Drop, {}},
        {ScalePercentage, ScalePercentage, Tab, Cancel, Drop, {Cancel}},
        {MusicFile, MusicFile, Tab, Ok, Drop, {Ok}},
        {MusicFile, MusicFile, Tab, MusicFile, Drop, {}},
        {DisplayTime, DisplayTime, Tab, ShowClock, Pass, {}},
        {Ok, ScalePercentage, Click, {}, Drop, {}},
        {Cancel, ScalePercentage, Click, {}, Pass, {}},
    };
    for (const auto& c : cases) {
        view.focused.clear();
        EXPECT_EQ(form->OnControlInput(c.control, c.input, c.from, c.next), c.reply)
            << static_cast<int>(c.control) << " " << static_cast<int>(c.input);
        EXPECT_EQ(view.focused, c.focused) << static_cast<int>(c.control);
    }
}

TEST_F(SettingsFormTest, AButtonPressedFromARefusedFieldDoesNothingButCancel) {
    ShowGrayedClock();
    Type(SettingsControl::PicturesPath, "C:\\Nowhere");
    for (auto button : {SettingsControl::Ok, SettingsControl::ShowClock, SettingsControl::Play})
        form->OnButtonPressed(button, SettingsControl::PicturesPath);
    EXPECT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(view.closes, 0);
    EXPECT_EQ(view.clock, platform::CheckState::Grayed);
    EXPECT_TRUE(music.calls.empty());
    form->OnButtonPressed(SettingsControl::Cancel, SettingsControl::PicturesPath);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(fake.messages.shown.size(), 3u) << "Cancel runs no check";
}

TEST_F(SettingsFormTest, TheClockBoxGoesFromGrayedOrUncheckedToCheckedAndBack) {
    ShowGrayedClock();
    std::vector<platform::CheckState> seen;
    for (int i = 0; i < 3; ++i) {
        form->OnButtonPressed(SettingsControl::ShowClock, SettingsControl::ShowClock);
        seen.push_back(view.clock);
    }
    EXPECT_EQ(seen, (std::vector<platform::CheckState>{platform::CheckState::Checked,
                                                       platform::CheckState::Unchecked,
                                                       platform::CheckState::Checked}));
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
