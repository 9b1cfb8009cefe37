#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "pickers/cls_comon_dialog_box_api.h"
#include "pickers/cls_path_dialog_box_api.h"

namespace orv {
namespace {

TEST(FilePickerTest, TheRecordHandedToThePlatform) {
    fakes::FakeEnvironment environment;
    environment.programFolder = "C:\\Tools\\Ör";
    fakes::FakePickers pickers;
    clsComonDialogBoxAPI picker(pickers, environment);
    EXPECT_EQ(picker.SelectFileName(0x5678), "");
    ASSERT_EQ(pickers.fileRequests.size(), 1u);
    const auto& r = pickers.fileRequests[0];
    EXPECT_EQ(r.owner, 0x5678);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(r.filters, (Pairs{{"Wave (*.wav)", "*.wav"},
                                {"MPEG Layer-III (*.mp3)", "*.mp3"},
                                {"MP3 Playlist (*.m3u)", "*.m3u"},
                                {"All Files (*.*)", "*.*"}}));
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.fileBufferChars, 1026u);
    EXPECT_EQ(r.fileBuffer, std::string(1026, '\0')) << "the file-name box opens empty";
    EXPECT_EQ(r.fileTitleChars, 515u);
    EXPECT_EQ(r.initialFolder, "C:\\Tools\\Ör");
    EXPECT_EQ(r.title, "Orvandel - Select WAV/MP3/M3U File");
    EXPECT_EQ(r.flags, 0x382000u);
    EXPECT_EQ(r.defaultExtension, "mp3");
}

TEST(FilePickerTest, ResultIsTheBufferCutAtItsFirstNul) {
    fakes::FakeEnvironment environment;
    fakes::FakePickers pickers;
    clsComonDialogBoxAPI picker(pickers, environment);
    const std::pair<std::string, std::string> cases[] = {
        {std::string("C:\\My Music\\ A.MP3 ") + '\0' + "leftover", "C:\\My Music\\ A.MP3 "},
        {"C:\\no-nul.wav", "C:\\no-nul.wav"},
        {std::string("\0x", 2), ""},
    };
    for (const auto& [buffer, expected] : cases) {
        pickers.fileAnswer = buffer;
        EXPECT_EQ(picker.SelectFileName(1), expected);
    }
    pickers.fail = true;
    EXPECT_EQ(picker.SelectFileName(1), "") << "a failing dialog gives the empty text";
    // Every call starts from a fresh record, whatever came before.
    pickers.fail = false;
    environment.programFolder = "D:\\";
    picker.SelectFileName(2);
    EXPECT_EQ(pickers.fileRequests.back().filterIndex, 2);
    EXPECT_EQ(pickers.fileRequests.back().initialFolder, "D:\\");
}

TEST(FolderPickerTest, RecordAndResults) {
    fakes::FakePickers pickers;
    clsPathDialogBoxAPI picker(pickers);
    EXPECT_EQ(picker.SelectPath(0x42), "") << "cancelled";
    ASSERT_EQ(pickers.folderRequests.size(), 1u);
    const auto& r = pickers.folderRequests[0];
    EXPECT_EQ(r.owner, 0x42);
    EXPECT_EQ(r.root, 0);
    EXPECT_EQ(r.displayNameChars, 260u);
    EXPECT_EQ(r.title, "Orvandel - Select Path");
    EXPECT_EQ(r.flags, 0u);

    const std::pair<std::string, std::string> cases[] = {
        {std::string("C:\\Bilder\\") + '\0' + "   ", "C:\\Bilder\\"},
        {std::string("D:\\x y") + '\0', "D:\\x y"},
        {"E:\\no terminator", ""},
    };
    for (const auto& [buffer, expected] : cases) {
        pickers.folderAnswer = buffer;
        EXPECT_EQ(picker.SelectPath(1), expected);
    }
    pickers.fail = true;
    EXPECT_EQ(picker.SelectPath(1), "");
}

} // namespace
} // namespace orv
