#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "settings/frm_settings.h"

namespace orv {
namespace {

using platform::SettingsField;

class SettingsChecksTest : public ::testing::Test {
  protected:
    fakes::FakePlatform fake;
    fakes::FakeSettingsView view;
    fakes::FakeMusic music;
    fakes::FakePickers pickers;
    modScreenSaver module;
    frmSettings form{fake.platform, module, view, music, pickers};

    void SetUp() override {
        module.objPicSS = std::make_unique<clsPicSS>(fake.platform);
        fake.files.AddFolder("C:\\Pics");
        fake.files.AddFile("C:\\Pics\\a.jpg");
        fake.files.AddFile("C:\\Music\\tune.mp3");
        fake.files.AddFile("C:\\Music\\list.m3u");
        fake.files.entries.push_back({"C:\\Music\\secret.mp3", false, true, false, ""});
        fake.files.entries.push_back({"C:\\Hidden", true, true, false, ""});
    }
    // Runs the check of `field` holding `text`; whether the focus may leave.
    bool Leave(SettingsField field, const std::string& text) {
        fake.messages.shown.clear();
        view.texts[field] = text;
        return form.FocusMayLeave(field);
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
        EXPECT_EQ(Leave(SettingsField::PicturesPath, text), accepted);
        if (accepted) {
            EXPECT_TRUE(fake.messages.shown.empty());
        } else {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Invalid dir!");
            EXPECT_EQ(fake.messages.shown[0].style, 64);
            EXPECT_EQ(fake.messages.shown[0].title, "Orvandel");
        }
        EXPECT_EQ(view.texts[SettingsField::PicturesPath], text) << "the text is never changed";
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
        EXPECT_EQ(Leave(SettingsField::MPEGFile, text), accepted);
        if (accepted) {
            EXPECT_TRUE(fake.messages.shown.empty());
        } else {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Invalid file!");
            EXPECT_EQ(fake.messages.shown[0].style, 64);
        }
        EXPECT_EQ(view.trackButtonsVisible, false);
    }
}

TEST_F(SettingsChecksTest, AMissingListIsRefusedButTheTrackButtonsShowAndTheListIsRead) {
    music.calls.clear();
    EXPECT_FALSE(Leave(SettingsField::MPEGFile, "C:\\Music\\gone.m3u"));
    EXPECT_EQ(fake.messages.shown.at(0).text, "Invalid file!");
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlayList C:\\Music\\gone.m3u"});

    music.calls.clear();
    EXPECT_TRUE(Leave(SettingsField::MPEGFile, "C:\\Music\\list.m3u"));
    EXPECT_EQ(view.trackButtonsVisible, true);
    EXPECT_EQ(music.calls, std::vector<std::string>{"LoadPlayList C:\\Music\\list.m3u"});

    music.calls.clear();
    EXPECT_TRUE(Leave(SettingsField::MPEGFile, "C:\\Music\\tune.mp3"));
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
        EXPECT_EQ(Leave(SettingsField::ScalePercentage, text), accepted);
        if (!accepted) {
            ASSERT_EQ(fake.messages.shown.size(), 1u);
            EXPECT_EQ(fake.messages.shown[0].text, "Must be between 1 and 100!");
            EXPECT_EQ(fake.messages.shown[0].style, 64);
        } else {
            EXPECT_TRUE(fake.messages.shown.empty());
        }
    }
}

TEST_F(SettingsChecksTest, DisplayTimeHasNoCheck) {
    EXPECT_TRUE(Leave(SettingsField::DisplayTime, "abc"));
    EXPECT_TRUE(Leave(SettingsField::DisplayTime, "-4"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SettingsChecksTest, EveryTextFieldSelectsAllWhenItGetsTheFocus) {
    for (auto field : {SettingsField::PicturesPath, SettingsField::DisplayTime,
                       SettingsField::ScalePercentage, SettingsField::MPEGFile})
        form.GotFocus(field);
    EXPECT_EQ(view.selected, (std::vector<SettingsField>{
                                 SettingsField::PicturesPath, SettingsField::DisplayTime,
                                 SettingsField::ScalePercentage, SettingsField::MPEGFile}));
}

TEST_F(SettingsChecksTest, ALookupThatFailsCountsAsNotFound) {
    struct Throwing : fakes::FakeFileSystem {
        bool Lookup(const std::string&, platform::LookupFilter) override {
            throw BadFileNameOrNumber();
        }
    } files;
    platform::Platform p{fake.store,  fake.environment, fake.messages, fake.clock,
                         fake.random, fake.desktop,     fake.forms,    files};
    frmSettings f(p, module, view, music, pickers);
    view.texts[SettingsField::PicturesPath] = "C:\\bad|name";
    EXPECT_FALSE(f.FocusMayLeave(SettingsField::PicturesPath));
    view.texts[SettingsField::MPEGFile] = "C:\\bad|name";
    EXPECT_FALSE(f.FocusMayLeave(SettingsField::MPEGFile));
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, "Invalid file!");
}

} // namespace
} // namespace orv
