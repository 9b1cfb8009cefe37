#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/music_player.h"
#include "audio/playlist.h"
#include "fakes/fake_media.h"
#include "fakes/fake_platform.h"
#include "support/text_stream.h"

namespace orv::audio {
namespace {

// The lines of a playlist held in memory, read `piece` bytes at a time.
std::vector<std::string> PlaylistLines(std::string_view text, std::size_t piece = 4096) {
    PlaylistReader reader(std::make_unique<support::TextStream>(std::string(text), piece),
                          [](std::string_view line) { return std::string(line); });
    std::vector<std::string> lines;
    while (auto line = reader.NextLine())
        lines.push_back(std::move(*line));
    return lines;
}

TEST(PlaylistLines, EndAtCarriageReturnsLineFeedsOrBoth) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\rb", {"a", "", "b"}},
        {"a\r\n\nb", {"a", "", "b"}}, // a line feed after CR LF ends an empty line
        {"a\n\rb", {"a", "", "b"}},
        {"last line without end", {"last line without end"}},
        {"mixed\nends\r\nin\rone", {"mixed", "ends", "in", "one"}},
        {"", {}},
        {"\xEF\xBB\xBFmarked\r\n", {"marked"}}, // the byte-order mark is no part of a line
    };
    for (std::size_t piece : {1u, 2u, 7u, 4096u}) {
        for (const auto& c : cases) // a CR LF split between two reads too
            EXPECT_EQ(PlaylistLines(c.text, piece), c.lines)
                << testing::PrintToString(c.text) << piece;
    }
    PlaylistReader none(nullptr, [](std::string_view line) { return std::string(line); });
    EXPECT_FALSE(none.NextLine()) << "no stream: no lines, and no endless wait for one";
}

TEST(PlaylistLines, TheByteOrderMarkMakesTheListUtf8ElseItIsInTheCodePage) {
    struct Ansi : fakes::FakeFileSystem {
        std::string AnsiToUtf8(std::string_view text) override {
            return "ansi(" + std::string(text) + ")";
        }
    } files;
    files.AddFile("C:\\plain.m3u", "\xE9t\xE9.mp3\n");
    files.AddFile("C:\\marked.m3u", "\xEF\xBB\xBF\xC3\xA9t\xC3\xA9.mp3\n");
    const auto first = [&](const char* path) {
        PlaylistReader reader(files.OpenForReading(path).stream,
                              [&](std::string_view t) { return files.AnsiToUtf8(t); });
        return reader.NextLine().value_or("none");
    };
    EXPECT_EQ(first("C:\\plain.m3u"), "ansi(\xE9t\xE9.mp3)");
    EXPECT_EQ(first("C:\\marked.m3u"), "\xC3\xA9t\xC3\xA9.mp3");
}

TEST(PlaylistLines, AnOverlongLineIsSkippedWhole) {
    const std::string longLine(PlaylistReader::kMaxLineBytes + 10, 'x');
    EXPECT_EQ(PlaylistLines("a.mp3\n" + longLine + ".mp3\nb.mp3"),
              (std::vector<std::string>{"a.mp3", "b.mp3"}));
    EXPECT_EQ(PlaylistLines("a.mp3\n" + longLine), (std::vector<std::string>{"a.mp3"}));
}

TEST(PlaylistLines, EntriesAreTrimmedMp3NamesLongerThanFourCharacters) {
    struct Case {
        std::string line;
        std::string entry;
    };
    const Case cases[] = {
        {"song.mp3", "song.mp3"},
        {"  TRACK.MP3  ", "TRACK.MP3"},
        {"x.mp3", "x.mp3"},
        {".mp3", ""},
        {"  .mp3  ", ""},
        {"\xc3\xa9.mp3", "\xc3\xa9.mp3"}, // five characters in six bytes
        {"\tsong.mp3", "\tsong.mp3"},     // tabs are not blanks
        {"song.mp3\t", ""},
        {"#EXTM3U", ""},
        {"#EXTINF:123,Artist - Title", ""},
        {"song.wav", ""},
        {"song.mid", ""},
        {"song.mp3.txt", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaylistEntry(c.line), c.entry) << c.line;
}

class PlayListLoadTest : public ::testing::Test {
  protected:
    // The tracks played by PlayTrack (the current one, if any) and then by
    // `nexts` presses of Next, in order.
    std::vector<std::string> Played(int nexts) {
        media.device.sent.clear();
        player.PlayTrack();
        for (int i = 0; i < nexts; ++i)
            player.NextTrack();
        return media.device.Opened();
    }

    fakes::FakePlatform fake;
    fakes::FakeMedia media{fake.files};
    MusicPlayer player{fake.platform, media.worker, media.window};
};

TEST_F(PlayListLoadTest, KeepsExistingMp3EntriesResolvedAgainstTheListFolder) {
    fake.files.AddFile("C:\\Music\\song one.mp3");
    fake.files.AddFile(
        "C:\\Music\\list.m3u",
        "#EXTM3U\r\n#EXTINF:61,Someone - Song One\r\nsong one.mp3\r\nD:\\absent.mp3\r\n");
    EXPECT_TRUE(player.LoadPlaylist("C:\\Music\\list.m3u"));
    EXPECT_TRUE(media.journal.empty()) << "loading plays nothing";
    EXPECT_EQ(Played(1),
              (std::vector<std::string>{"C:\\Music\\song one.mp3", "C:\\Music\\song one.mp3"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(PlayListLoadTest, UsesAnEntryAsWrittenWhenThatFileExists) {
    fake.files.AddFile("D:\\Other\\abs.mp3");
    fake.files.AddFile("rel.mp3"); // in the current folder
    fake.files.AddFile("C:\\Music\\rel.mp3");
    fake.files.AddFile("C:\\Music\\TRACK.MP3");
    fake.files.AddFile("C:\\Music\\list.m3u",
                       "D:\\Other\\abs.mp3\rrel.mp3\rTRACK.MP3\rTRACK.MP3\r");
    ASSERT_TRUE(player.LoadPlaylist("  C:\\Music\\list.m3u  "));
    EXPECT_EQ(Played(4),
              (std::vector<std::string>{"D:\\Other\\abs.mp3", "rel.mp3", "C:\\Music\\TRACK.MP3",
                                        "C:\\Music\\TRACK.MP3", "D:\\Other\\abs.mp3"}))
        << "blanks around the list name are ignored and duplicates count";
}

TEST_F(PlayListLoadTest, OnlyNormalFilesCount) {
    fake.files.AddFile("C:\\Music\\plain.mp3");
    fake.files.AddFile("C:\\Music\\AUX.mp3"); // a device, whatever the disk holds
    fake.files.AddFolder("C:\\Music\\folder.mp3");
    fake.files.entries.push_back({"C:\\Music\\hidden.mp3", false, true, false, ""});
    fake.files.entries.push_back({"C:\\Music\\system.mp3", false, false, true, ""});
    fake.files.AddFile("C:\\Music\\list.m3u",
                       "folder.mp3\r\nhidden.mp3\r\nAUX.mp3\r\nsystem.mp3\r\nplain.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist("C:\\Music\\list.m3u"));
    EXPECT_EQ(Played(1),
              (std::vector<std::string>{"C:\\Music\\plain.mp3", "C:\\Music\\plain.mp3"}));
}

TEST_F(PlayListLoadTest, ListsWrittenWithAnyLineEndsGiveTheSameTracks) {
    fake.files.AddFile("C:\\Music\\a.mp3");
    fake.files.AddFile("C:\\Music\\b.mp3");
    fake.files.AddFile("C:\\Music\\unix.m3u", "a.mp3\nb.mp3\n");
    fake.files.AddFile("C:\\Music\\mac.m3u", "a.mp3\rb.mp3");
    fake.files.AddFile("C:\\Music\\marked.m3u", "\xEF\xBB\xBF"
                                                "a.mp3\r\nb.mp3");
    for (const char* list :
         {"C:\\Music\\unix.m3u", "C:\\Music\\mac.m3u", "C:\\Music\\marked.m3u"}) {
        EXPECT_TRUE(player.LoadPlaylist(list)) << list;
        EXPECT_EQ(Played(2), (std::vector<std::string>{"C:\\Music\\a.mp3", "C:\\Music\\b.mp3",
                                                       "C:\\Music\\a.mp3"}))
            << list;
    }
}

TEST_F(PlayListLoadTest, AListNameWithoutFolderResolvesAgainstTheRoot) {
    fake.files.AddFile("list.m3u", "song.mp3\r\n");
    fake.files.AddFile("\\song.mp3");
    ASSERT_TRUE(player.LoadPlaylist("list.m3u"));
    EXPECT_EQ(Played(0), (std::vector<std::string>{"\\song.mp3"}));
}

TEST_F(PlayListLoadTest, ANewListReplacesTheOldOneButAnEmptyOneDoesNot) {
    for (const char* name : {"a", "b", "c", "d"})
        fake.files.AddFile(std::string("C:\\M\\") + name + ".mp3");
    fake.files.AddFile("C:\\M\\long.m3u", "a.mp3\r\nb.mp3\r\nc.mp3\r\n");
    fake.files.AddFile("C:\\M\\short.m3u", "d.mp3\r\n");
    fake.files.AddFile("C:\\M\\none.m3u", "#EXTM3U\r\nmissing.mp3\r\nnotes.txt\r\n");

    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\long.m3u"));
    EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\a.mp3", "C:\\M\\b.mp3"}));
    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\short.m3u"));
    EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\d.mp3", "C:\\M\\d.mp3"}));

    // Read, but without a track: no track is current, and Next starts the
    // earlier list again from its first.
    EXPECT_TRUE(player.LoadPlaylist("C:\\M\\none.m3u"));
    EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\d.mp3"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(PlayListLoadTest, EmptyMissingOrDeviceListNamesFindNothingQuietly) {
    fake.files.AddFile("C:\\M\\a.mp3");
    fake.files.AddFile("C:\\M\\ok.m3u", "a.mp3\r\n");
    fake.files.AddFolder("C:\\M\\dir.m3u");
    fake.files.entries.push_back({"C:\\M\\hidden.m3u", false, true, false, "a.mp3\r\n"});
    fake.files.AddFile("C:\\M\\CON.m3u", "a.mp3\r\n"); // a device, whatever the disk holds
    for (const char* name : {"", "   ", "C:\\M\\absent.m3u", "C:\\M\\dir.m3u", "C:\\M\\hidden.m3u",
                             "C:\\M\\CON.m3u"}) {
        ASSERT_TRUE(player.LoadPlaylist("C:\\M\\ok.m3u"));
        player.LoadPlaylist(name);
        EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\a.mp3"})) << name;
    }
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(PlayListLoadTest, AnUnreadableListIsReportedAndKeepsTheEarlierTracks) {
    fake.files.AddFile("C:\\M\\a.mp3");
    fake.files.AddFile("C:\\M\\ok.m3u", "a.mp3\r\n");
    fake.files.AddFile("C:\\M\\locked.m3u", "a.mp3\r\n");
    fake.files.unreadable.push_back("C:\\M\\locked.m3u");
    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\ok.m3u"));

    player.LoadPlaylist("C:\\M\\locked.m3u");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "Module: modAudio\r75 Path/File access error");
    EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(fake.messages.shown[0].title, "Orvandel");
    EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\a.mp3"}));
}

// A playlist of any length: a stream that makes up its lines as it is read
// and counts what was asked of it and of the file system.
class EndlessList : public fakes::FakeFileSystem {
  public:
    std::size_t bytesRead = 0;
    int lookups = 0;
    bool NormalFileExists(const std::string& path) override {
        ++lookups;
        return path.find(".m3u") != std::string::npos || path.rfind("C:\\M\\", 0) == 0;
    }
    platform::OpenedFile OpenForReading(const std::string&) override {
        struct Lines : platform::ByteStream {
            EndlessList& owner;
            std::size_t line = 0;
            explicit Lines(EndlessList& o) : owner(o) {}
            std::size_t Read(char* dest, std::size_t count) override {
                const std::string text = "track " + std::to_string(line++) + ".mp3\r\n";
                const std::size_t n = std::min(count, text.size());
                std::copy_n(text.data(), n, dest);
                owner.bytesRead += n;
                return n;
            }
        };
        return {std::make_unique<Lines>(*this), std::nullopt};
    }
};

TEST(PlayListLength, AListOfAnyLengthIsReadOnlyAsFarAsItIsPlayed) {
    fakes::FakePlatform fake;
    EndlessList files;
    platform::Platform platform = fake.With(files);
    fakes::FakeMedia media{files};
    MusicPlayer player{platform, media.worker, media.window};
    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\endless.m3u"));
    EXPECT_LE(files.lookups, 3);
    EXPECT_LT(files.bytesRead, 1024u);
    player.NextTrack();
    player.NextTrack();
    EXPECT_LE(files.lookups, 12);
    player.PreviousTrack();
    player.PreviousTrack();
    EXPECT_EQ(media.device.Opened(),
              (std::vector<std::string>{"C:\\M\\track 1.mp3", "C:\\M\\track 2.mp3",
                                        "C:\\M\\track 1.mp3", "C:\\M\\track 0.mp3"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

// Every name exists: for lists too long to lay out file by file.
class EverythingExists : public fakes::FakeFileSystem {
  public:
    bool NormalFileExists(const std::string&) override { return true; }
};

TEST(PlayListLimit, AListStopsAtTheHighestTrackNumberAndStillWraps) {
    fakes::FakePlatform fake;
    EverythingExists files;
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "t" + std::to_string(i) + ".mp3\r\n";
    files.AddFile("C:\\M\\huge.m3u", text);
    platform::Platform platform = fake.With(files);
    fakes::FakeMedia media{files};
    MusicPlayer player{platform, media.worker, media.window};

    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\huge.m3u"));
    for (int i = 0; i < 32765; ++i)
        player.NextTrack();
    media.device.sent.clear();
    player.NextTrack();
    player.NextTrack();
    EXPECT_EQ(media.device.Opened(), (std::vector<std::string>{"t32766.mp3", "t0.mp3"}))
        << "track 32767 is the last one";
}

} // namespace
} // namespace orv::audio
