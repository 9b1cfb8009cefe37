#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/music_file.h"
#include "audio/music_player.h"
#include "fakes/fake_media.h"
#include "fakes/fake_platform.h"

namespace orv::audio {
namespace {

using fakes::SentCommand;
using Journal = std::vector<std::string>;

std::string Open(const std::string& path) {
    return "open " + path + " type MPEGVideo Alias mp3 style child parent 77";
}

class MusicPlayerTest : public ::testing::Test {
  protected:
    MusicPlayerTest() {
        for (const char* name : {"one", "two", "three"})
            fake.files.AddFile(std::string("C:\\M\\") + name + ".mp3");
        fake.files.AddFile("C:\\M\\list.m3u", "one.mp3\r\ntwo.mp3\r\nthree.mp3\r\n");
    }
    // A playlist, loaded, with the journal cleared.
    void LoadList() {
        ASSERT_TRUE(player.LoadPlaylist("C:\\M\\list.m3u"));
        media.journal.clear();
        media.device.sent.clear();
    }
    std::vector<std::string> Opened() const { return media.device.Opened(); }
    // The tracks played by PlayTrack (the current one, if any) and then by
    // `nexts` presses of Next, in order.
    std::vector<std::string> Played(int nexts) {
        media.device.sent.clear();
        player.PlayTrack();
        for (int i = 0; i < nexts; ++i)
            player.NextTrack();
        return Opened();
    }

    fakes::FakePlatform fake;
    fakes::FakeMedia media{fake.files};
    MusicPlayer player{fake.platform, media.worker, media.window};
};

TEST_F(MusicPlayerTest, ASingleFileIsClosedOpenedAndPlayedWithTheCallersOptions) {
    fake.files.AddFile("C:\\Music\\song.mp3");
    player.Play("C:\\Music\\song.mp3", PlayMode::Repeat);
    EXPECT_EQ(media.device.sent, (std::vector<SentCommand>{{"close mp3", false},
                                                           {Open("C:\\Music\\song.mp3"), false},
                                                           {"play mp3 repeat", false}}));
    media.device.sent.clear();
    player.Play("C:\\Music\\song.mp3", PlayMode::Once);
    EXPECT_EQ(media.device.sent.back(), (SentCommand{"play mp3", false}));
    EXPECT_EQ(media.window.loads, 0);
}

TEST_F(MusicPlayerTest, TheOpenCommandCarriesTheShortPathQuotedOnlyWhenItHasBlanks) {
    struct Case {
        std::string file;
        std::string shortPath; // "" = the platform has none
        std::string argument;
    };
    const Case cases[] = {
        {"C:\\My Music\\Long Song.mp3", "C:\\MYMUSI~1\\LONGSO~1.MP3", "C:\\MYMUSI~1\\LONGSO~1.MP3"},
        {"C:\\My Music\\Long Song.wav", "C:\\My Music\\Long Song.wav",
         "\"C:\\My Music\\Long Song.wav\""},
        {"C:\\M\\\xe6\x97\xa5\xe6\x9c\xac.mp3", "C:\\M\\\xe6\x97\xa5\xe6\x9c\xac.mp3",
         "C:\\M\\\xe6\x97\xa5\xe6\x9c\xac.mp3"},
        {"C:\\No Short\\a b.mid", "", "\"C:\\No Short\\a b.mid\""},
        {"C:\\NoShort\\ab.mid", "", "C:\\NoShort\\ab.mid"},
    };
    for (const auto& c : cases) {
        fake.files.AddFile(c.file);
        if (c.shortPath.empty())
            media.device.noShortPath.push_back(c.file);
        else
            media.device.shortPaths[c.file] = c.shortPath;
        media.device.sent.clear();
        player.Play(c.file, PlayMode::Once);
        ASSERT_EQ(media.device.sent.size(), 3u) << c.file;
        EXPECT_EQ(media.device.sent[1].command, Open(c.argument)) << c.file;
    }
}

TEST_F(MusicPlayerTest, MissingEmptyOrUnsupportedFilesSendNothingAtAll) {
    fake.files.AddFile("C:\\Music\\SONG.MP3");
    fake.files.AddFile("C:\\Music\\Song.Mid");
    fake.files.AddFile("C:\\Music\\tune.WAV");
    for (const char* name : {"song.mpeg", "song.midi", "song.m3u", "song.ogg", "mp3", "COM1.mp3"})
        fake.files.AddFile(std::string("C:\\Music\\") + name);
    fake.files.AddFile(fake.files.notOnDisk = "C:\\Music\\pipe.mp3");
    fake.files.AddFolder("C:\\Music\\folder.mp3");
    fake.files.entries.push_back({"C:\\Music\\hidden.mp3", false, true, false, ""});
    fake.files.entries.push_back({"C:\\Music\\system.wav", false, false, true, ""});

    for (const char* name :
         {"", "C:\\Music\\absent.mp3", "C:\\Music\\song.mpeg", "C:\\Music\\song.midi",
          "C:\\Music\\song.m3u", "C:\\Music\\song.ogg", "C:\\Music\\mp3", "C:\\Music\\folder.mp3",
          "C:\\Music\\COM1.mp3", "C:\\Music\\pipe.mp3", "C:\\Music\\hidden.mp3",
          "C:\\Music\\system.wav", " C:\\Music\\SONG.MP3"}) {
        player.Play(name, PlayMode::Repeat);
        EXPECT_TRUE(media.journal.empty()) << "'" << name << "' sent " << media.journal.front();
        media.journal.clear();
    }
    for (const char* name : {"C:\\Music\\SONG.MP3", "C:\\Music\\Song.Mid", "C:\\Music\\tune.WAV"}) {
        player.Play(name, PlayMode::Once);
        EXPECT_EQ(media.device.Commands(),
                  (std::vector<std::string>{"close mp3", Open(name), "play mp3"}))
            << name;
        media.device.sent.clear();
    }
}

TEST_F(MusicPlayerTest, APlaylistTrackIsPlayedWithTheNotificationWindowAsCallback) {
    LoadList();
    player.PlayTrack();
    EXPECT_EQ(media.journal, (Journal{"load frmAudioNotify", "close mp3", Open("C:\\M\\one.mp3"),
                                      "play mp3 notify [callback]"}));
    // A file played by itself next is no list track, loaded list or not:
    // its end leads nowhere. The window, once loaded, stays loaded.
    media.journal.clear();
    fake.files.AddFile("C:\\Other\\single.wav");
    for (PlayMode mode : {PlayMode::Repeat, PlayMode::Once}) {
        player.Play("C:\\Other\\single.wav", mode);
        EXPECT_FALSE(media.device.sent.back().notify);
    }
    media.journal.clear();
    player.OnMciNotify(MusicPlayer::kNotifySuccessful);
    EXPECT_TRUE(media.journal.empty()) << "the list does not take over from the file";
    EXPECT_EQ(media.window.loads, 1);
    // A list that was never saved plays with notifications all the same.
    fakes::FakeMedia other{fake.files};
    MusicPlayer unsaved{fake.platform, other.worker, other.window};
    ASSERT_TRUE(unsaved.LoadPlaylist("C:\\M\\list.m3u"));
    unsaved.PlayTrack();
    unsaved.OnMciNotify(MusicPlayer::kNotifySuccessful);
    EXPECT_EQ(other.device.Opened(),
              (std::vector<std::string>{"C:\\M\\one.mp3", "C:\\M\\two.mp3"}));
    EXPECT_EQ(other.device.sent.back(), (SentCommand{"play mp3 notify", true}));
}

TEST_F(MusicPlayerTest, NextWrapsToTheFirstTrackAndPreviousStopsAtIt) {
    LoadList();
    player.NextTrack();
    player.NextTrack();
    player.NextTrack(); // from the last back to the first
    player.NextTrack();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\two.mp3", "C:\\M\\three.mp3",
                                                  "C:\\M\\one.mp3", "C:\\M\\two.mp3"}));
    media.device.sent.clear();
    player.PreviousTrack();
    player.PreviousTrack(); // already on the first: plays it again
    player.PreviousTrack();
    EXPECT_EQ(Opened(),
              (std::vector<std::string>{"C:\\M\\one.mp3", "C:\\M\\one.mp3", "C:\\M\\one.mp3"}));
    EXPECT_EQ(media.device.sent.back(), (SentCommand{"play mp3 notify", true}));
}

TEST_F(MusicPlayerTest, NextAndPreviousWithoutAnyListDoNothing) {
    player.LoadPlaylist("C:\\M\\absent.m3u"); // finds nothing
    player.NextTrack();
    player.PreviousTrack();
    player.OnMciNotify(MusicPlayer::kNotifySuccessful);
    player.PlayTrack(); // no current track
    EXPECT_TRUE(media.journal.empty());
}

TEST_F(MusicPlayerTest, AnEndOrAFailureAdvancesAStoppedOrReplacedTrackDoesNot) {
    LoadList();
    player.PlayTrack();
    media.journal.clear();
    for (std::uintptr_t status : {MusicPlayer::kNotifySuperseded, MusicPlayer::kNotifyAborted,
                                  std::uintptr_t{0}, std::uintptr_t{3}}) {
        player.OnMciNotify(status);
        EXPECT_TRUE(media.journal.empty()) << status;
    }
    player.OnMciNotify(MusicPlayer::kNotifySuccessful);
    EXPECT_EQ(media.journal,
              (Journal{"close mp3", Open("C:\\M\\two.mp3"), "play mp3 notify [callback]"}));
    player.OnMciNotify(MusicPlayer::kNotifyFailure); // two could not be played to its end
    EXPECT_EQ(Opened(),
              (std::vector<std::string>{"C:\\M\\one.mp3", "C:\\M\\two.mp3", "C:\\M\\three.mp3"}));
}

TEST_F(MusicPlayerTest, ATrackRemovedAfterLoadingIsSkipped) {
    LoadList();
    player.PlayTrack();
    media.device.sent.clear();
    fake.files.entries.erase(fake.files.entries.begin() + 1); // two.mp3
    player.OnMciNotify(MusicPlayer::kNotifySuccessful);
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\three.mp3"}));
    player.NextTrack();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\three.mp3", "C:\\M\\one.mp3"}));
}

TEST_F(MusicPlayerTest, TracksThatCannotBePlayedAreSkippedAndAWholeRoundOfThemStopsTheMusic) {
    fake.files.AddFile("C:\\M\\broken.mp3");
    fake.files.AddFile("C:\\M\\mixed.m3u", "broken.mp3\r\ntwo.mp3\r\n");
    media.device.failing = {Open("C:\\M\\broken.mp3")};
    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\mixed.m3u"));
    player.PlayTrack();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\broken.mp3", "C:\\M\\two.mp3"}));

    // Every track fails: one round of tries, then the device is closed.
    media.device.sent.clear();
    media.device.failing.push_back("play mp3 notify");
    player.NextTrack();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\broken.mp3", "C:\\M\\two.mp3"}));
    EXPECT_EQ(media.device.sent.back().command, "close mp3");
    // Tracks that play but fail before their end: a round of them stops
    // too, and the stopped list stays silent.
    media.device.failing = {};
    player.PlayTrack();
    media.device.sent.clear();
    player.OnMciNotify(MusicPlayer::kNotifyFailure);
    EXPECT_EQ(media.device.sent.size(), 3u) << "the next track";
    player.OnMciNotify(MusicPlayer::kNotifyFailure);
    EXPECT_EQ(media.device.sent.size(), 4u) << "only the closing command";
    EXPECT_EQ(media.device.sent.back().command, "close mp3");
    player.OnMciNotify(MusicPlayer::kNotifyFailure);
    EXPECT_EQ(media.device.sent.size(), 4u);
}

TEST_F(MusicPlayerTest, StopClosesTheDeviceAndTheWindowLoadsAndUnloadsOnce) {
    player.Stop();
    player.LoadNotifyWindow();
    player.LoadNotifyWindow();
    player.UnloadNotifyWindow();
    player.UnloadNotifyWindow();
    EXPECT_EQ(media.journal,
              (Journal{"close mp3", "load frmAudioNotify", "unload frmAudioNotify"}));
}

TEST(MusicFileName, DevicesInAnyCaseFolderOrExtensionAreNeverMusic) {
    for (const char* name :
         {"AUX.mp3", "com1.MP3", "C:\\any\\COM1.mp3", "nul.wav", "Con.mid", "lpt9.x.mp3",
          "COM1 .mp3", "D:/x/prn.wav", "C:aux.mp3", "CONOUT$.mp3", "COM\xC2\xB9.mp3",
          "\\\\.\\pipe\\x.mp3", "\\\\?\\GLOBALROOT\\x.mp3", "C:\\M\\song.ogg"})
        EXPECT_FALSE(IsMusicFileName(name)) << name;
    for (const char* name : {"C:\\M\\COM10.mp3", "C:\\AUX\\song.mp3", "console.mp3", "NULL.wav",
                             "C:\\M\\LPT.mid", "\\\\?\\C:\\M\\a.mp3"})
        EXPECT_TRUE(IsMusicFileName(name)) << name;
}

TEST_F(MusicPlayerTest, EachAnswerOfTheWorkerTriesOneTrackAndStaleAnswersAreDropped) {
    media.worker.runAtOnce = false;
    std::string text;
    for (int i = 0; i < 300; ++i) {
        fake.files.AddFile("C:\\M\\" + std::to_string(i) + ".mp3");
        media.device.failing.push_back(Open("C:\\M\\" + std::to_string(i) + ".mp3"));
        text += std::to_string(i) + ".mp3\r\n";
    }
    fake.files.AddFile("C:\\M\\bad.m3u", text);
    player.LoadPlaylist("C:\\M\\bad.m3u");
    player.PlayTrack();
    while (media.worker.RunOne())
        ASSERT_LE(media.worker.queue.size(), 1u) << "one job per answer";
    EXPECT_EQ(Opened().size(), 300u);
    EXPECT_EQ(media.device.sent.back().command, "close mp3");

    // Alt+N twice before the first open has answered: that answer, a
    // failure, no longer moves anything.
    media.worker.runAtOnce = true;
    player.LoadPlaylist("C:\\M\\list.m3u");
    for (int i = 0; i < 3; ++i)
        player.NextTrack(); // every track found, back on the first
    media.worker.runAtOnce = false;
    media.device.failing = {Open("C:\\M\\two.mp3")};
    media.device.sent.clear();
    player.NextTrack();
    player.NextTrack();
    media.worker.RunAll();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\two.mp3", "C:\\M\\three.mp3"}))
        << "three plays on; the failure of two skips nothing";
    // An end that comes while the next track opens counts once it has opened.
    media.device.failing = {};
    media.device.sent.clear();
    player.PreviousTrack();
    player.OnMciNotify(MusicPlayer::kNotifySuccessful);
    EXPECT_EQ(media.worker.queue.size(), 1u) << "the end waits until the track has opened";
    media.worker.RunAll();
    EXPECT_EQ(Opened(), (std::vector<std::string>{"C:\\M\\two.mp3", "C:\\M\\three.mp3"}));
}

TEST_F(MusicPlayerTest, KeepsExistingMp3EntriesResolvedAgainstTheListFolder) {
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

TEST_F(MusicPlayerTest, UsesAnEntryAsWrittenWhenThatFileExists) {
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

TEST_F(MusicPlayerTest, OnlyNormalFilesCount) {
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

TEST_F(MusicPlayerTest, ListsWrittenWithAnyLineEndsGiveTheSameTracks) {
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

TEST_F(MusicPlayerTest, AListNameWithoutFolderResolvesAgainstTheRoot) {
    fake.files.AddFile("list.m3u", "song.mp3\r\n");
    fake.files.AddFile("\\song.mp3");
    ASSERT_TRUE(player.LoadPlaylist("list.m3u"));
    EXPECT_EQ(Played(0), (std::vector<std::string>{"\\song.mp3"}));
}

TEST_F(MusicPlayerTest, ANewListReplacesTheOldOneButAnEmptyOneDoesNot) {
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

TEST_F(MusicPlayerTest, EmptyMissingOrDeviceListNamesFindNothingQuietly) {
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

TEST_F(MusicPlayerTest, AnUnreadableListIsReportedAndKeepsTheEarlierTracks) {
    fake.files.AddFile("C:\\M\\a.mp3");
    fake.files.AddFile("C:\\M\\ok.m3u", "a.mp3\r\n");
    fake.files.AddFile("C:\\M\\locked.m3u", "a.mp3\r\n");
    fake.files.unreadable.push_back("C:\\M\\locked.m3u");
    ASSERT_TRUE(player.LoadPlaylist("C:\\M\\ok.m3u"));

    player.LoadPlaylist("C:\\M\\locked.m3u");
    EXPECT_EQ(fake.messages.shown,
              (fakes::ShownMessages{{"Module: modAudio\r75 Path/File access error",
                                     platform::MessageIcon::Exclamation}}));
    EXPECT_EQ(Played(1), (std::vector<std::string>{"C:\\M\\a.mp3"}));
}

} // namespace
} // namespace orv::audio
