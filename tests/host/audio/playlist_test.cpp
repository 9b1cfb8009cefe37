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
