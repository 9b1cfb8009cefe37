#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_settings.h"
#include "pickers/folder_picker.h"
#include "pickers/music_file_picker.h"

namespace orv::pickers {
namespace {

TEST(MusicFilePicker, AsksForTheMusicTypesFromTheProgramsFolder) {
    fakes::FakeEnvironment environment;
    environment.programFolder = "C:\\Tools\\Ör";
    fakes::FakePickers pickers;
    EXPECT_EQ(PickMusicFile(pickers, environment, 0x5678), "") << "cancelled";
    ASSERT_EQ(pickers.fileRequests.size(), 1u);
    const auto& r = pickers.fileRequests[0];
    EXPECT_EQ(r.owner, 0x5678);
    EXPECT_EQ(r.title, "Orvandel - Select WAV/MP3/M3U File");
    std::vector<std::pair<std::string, std::string>> filters;
    for (const auto& f : r.types.filters)
        filters.emplace_back(f.description, f.pattern);
    EXPECT_EQ(filters,
              (std::vector<std::pair<std::string, std::string>>{{"Wave (*.wav)", "*.wav"},
                                                                {"MPEG Layer-III (*.mp3)", "*.mp3"},
                                                                {"MP3 Playlist (*.m3u)", "*.m3u"},
                                                                {"All Files (*.*)", "*.*"}}));
    EXPECT_EQ(r.types.filters.at(r.types.preselected).pattern, "*.mp3");
    EXPECT_EQ(r.types.defaultExtension, "mp3");
    EXPECT_EQ(r.startFolder, "C:\\Tools\\Ör");

    pickers.fileAnswer = "C:\\My Music\\ A.MP3 ";
    environment.programFolder = "D:\\";
    EXPECT_EQ(PickMusicFile(pickers, environment, 2), "C:\\My Music\\ A.MP3 ");
    EXPECT_EQ(pickers.fileRequests.back().startFolder, "D:\\") << "each pick asks afresh";
    EXPECT_EQ(FilterList({{{"Wave (*.wav)", "*.wav"}, {"Ö", "*.m3u"}}, 0, ""}),
              std::string("Wave (*.wav)\0*.wav\0Ö\0*.m3u\0\0", 29));
}

TEST(FolderPicker, AsksWithTheTitleAndGivesThePath) {
    fakes::FakePickers pickers;
    EXPECT_EQ(PickPicturesFolder(pickers, 0x42), "") << "cancelled";
    ASSERT_EQ(pickers.folderRequests.size(), 1u);
    EXPECT_EQ(pickers.folderRequests[0].owner, 0x42);
    EXPECT_EQ(pickers.folderRequests[0].title, "Orvandel - Select Path");
    pickers.folderAnswer = "C:\\Bilder\\";
    EXPECT_EQ(PickPicturesFolder(pickers, 1), "C:\\Bilder\\");
}

} // namespace
} // namespace orv::pickers
