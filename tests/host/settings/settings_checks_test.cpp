#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "settings/settings_form.h"

namespace orv::settings {
namespace {

using platform::SettingsControl;

class SettingsChecksTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeSettingsView view;
    fakes::FakeMusic music;
    fakes::FakePickers pickers;
    SettingsForm form{fake.platform, {}, view, music, pickers};

    void SetUp() override {
        fake.files.AddFolder("C:\\Pics");
        fake.files.AddFile("C:\\Pics\\a.jpg");
        fake.files.AddFile("C:\\Music\\tune.mp3");
        fake.files.AddFile("C:\\Music\\list.m3u");
        fake.files.entries.push_back({"C:\\Music\\secret.mp3", false, true, false, ""});
        fake.files.entries.push_back({"C:\\Hidden", true, true, false, ""});
    }
    // Runs the check of `field` holding `text`; whether the focus may leave.
    bool Leave(SettingsControl field, const std::string& text) {
        fake.messages.shown.clear();
        view.texts[field] = text;
        return form.MayMoveFocus(field, SettingsControl::Ok);
    }
};

TEST_F(SettingsChecksTest, FolderField) {
    const std::pair<const char*, bool> cases[] = {
        {"C:\\Pics", true},
        {"C:\\Pics\\", true},
        {"c:\\pics", true},
        {"C:\\Pics\\a.jpg", true},
        {"C:\\Nowhere", false},
        {"C:\\Hidden", false},
        {"", false},
        {"C:\\Music\\secret.mp3", false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Leave(SettingsControl::PicturesPath, text), accepted);
        if (accepted) {
            EXPECT_TRUE(fake.messages.shown.empty());
        } else {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Invalid dir!");
            EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
            EXPECT_EQ(fake.messages.shown[0].title, "Orvandel");
        }
        EXPECT_EQ(view.texts[SettingsControl::PicturesPath], text) << "the text is never changed";
    }
}

TEST_F(SettingsChecksTest, MusicField) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},
        {"C:\\Music\\tune.mp3", true},
        {"C:\\Pics\\a.jpg", true}, // any ordinary file: the extension is not looked at
        {"C:\\Music\\missing.mp3", false},
        {"C:\\Pics", false}, // a folder
        {"C:\\Music\\secret.mp3", false},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Leave(SettingsControl::MusicFile, text), accepted);
        if (accepted) {
            EXPECT_TRUE(fake.messages.shown.empty());
        } else {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Invalid file!");
            EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
        }
        EXPECT_EQ(view.trackButtonsVisible, false);
    }
}

TEST_F(SettingsChecksTest, AMissingListIsRefusedButTheTrackButtonsShowAndTheListIsRead) {
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

TEST_F(SettingsChecksTest, ScaleField) {
    const std::pair<const char*, bool> cases[] = {
        {"1", true},    {"100", true},    {"50%", true},  {"1e2", true},  {"0.5", false},
        {"0", false},   {"101", false},   {"-5", false},  {"abc", false}, {"", false},
        {"99.9", true}, {"100.1", false}, {"&H64", true}, {" 7", true},
    };
    for (const auto& [text, accepted] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Leave(SettingsControl::ScalePercentage, text), accepted);
        if (!accepted) {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Must be between 1 and 100!");
            EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
        } else {
            EXPECT_TRUE(fake.messages.shown.empty());
        }
    }
}

TEST_F(SettingsChecksTest, DisplayTimeHasNoCheck) {
    EXPECT_TRUE(Leave(SettingsControl::DisplayTime, "abc"));
    EXPECT_TRUE(Leave(SettingsControl::DisplayTime, "-4"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsChecksTest, EveryTextFieldSelectsAllWhenItGetsTheFocus) {
    for (auto field : {SettingsControl::PicturesPath, SettingsControl::DisplayTime,
                       SettingsControl::ScalePercentage, SettingsControl::MusicFile})
        form.OnFieldFocused(field);
    EXPECT_EQ(view.selected, (std::vector<SettingsControl>{
                                 SettingsControl::PicturesPath, SettingsControl::DisplayTime,
                                 SettingsControl::ScalePercentage, SettingsControl::MusicFile}));
}

TEST_F(SettingsChecksTest, WhichMovesRunTheCheckOfTheFieldLeft) {
    view.texts[SettingsControl::ScalePercentage] = "0"; // refused whenever it is checked
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
        EXPECT_EQ(form.MayMoveFocus(c.from, c.to), !c.checked);
        EXPECT_EQ(fake.messages.shown.size(), c.checked ? 1u : 0u);
        // A refusal gives the focus back to the field the message box took it from.
        EXPECT_EQ(view.placed, c.checked ? std::vector{*c.from} : std::vector<SettingsControl>{});
    }
}

TEST_F(SettingsChecksTest, TheCheckedFieldsTakeTabAndRefusedMovesAreDropped) {
    view.texts[SettingsControl::ScalePercentage] = "0"; // refused; an empty music file is not
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
        EXPECT_EQ(form.OnControlInput(c.control, c.input, c.from, c.next), c.reply)
            << static_cast<int>(c.control) << " " << static_cast<int>(c.input);
        EXPECT_EQ(view.focused, c.focused) << static_cast<int>(c.control);
    }
}

TEST_F(SettingsChecksTest, AButtonPressedFromARefusedFieldDoesNothingButCancel) {
    view.texts[SettingsControl::PicturesPath] = "C:\\Nowhere";
    view.clock = platform::CheckState::Grayed;
    for (auto button : {SettingsControl::Ok, SettingsControl::ShowClock, SettingsControl::Play})
        form.OnButtonPressed(button, SettingsControl::PicturesPath);
    EXPECT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(view.closes, 0);
    EXPECT_EQ(view.clock, platform::CheckState::Grayed);
    EXPECT_TRUE(music.calls.empty());
    form.OnButtonPressed(SettingsControl::Cancel, SettingsControl::PicturesPath);
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(fake.messages.shown.size(), 3u) << "Cancel runs no check";
}

TEST_F(SettingsChecksTest, TheClockBoxGoesFromGrayedOrUncheckedToCheckedAndBack) {
    view.clock = platform::CheckState::Grayed;
    std::vector<platform::CheckState> seen;
    for (int i = 0; i < 3; ++i) {
        form.OnButtonPressed(SettingsControl::ShowClock, SettingsControl::ShowClock);
        seen.push_back(view.clock);
    }
    EXPECT_EQ(seen, (std::vector<platform::CheckState>{platform::CheckState::Checked,
                                                       platform::CheckState::Unchecked,
                                                       platform::CheckState::Checked}));
}

} // namespace
} // namespace orv::settings
