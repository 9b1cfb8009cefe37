#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/fakes/fake_media.h"
#include "win32/services.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

using namespace std::chrono_literals;

std::string Env(const wchar_t* name) {
    wchar_t buffer[4096];
    const DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
    return n > 0 && n < 4096 ? Utf8(std::wstring(buffer, n)) : std::string();
}

// A Linux path as Wine's Z: drive shows it.
std::string WinPath(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return "Z:" + path;
}

std::string Sound(const std::string& name) {
    return WinPath(Env(L"ORVANDEL_TEST_SOUNDS") + "/" + name);
}

std::wstring SoundFile() {
    return Wide(WinPath(Env(L"ORVANDEL_SOUND_FILE")));
}

// Bytes written so far into the file that ALSA plays into (it starts anew
// whenever the device opens a stream).
long long SoundBytes() {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(SoundFile().c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Whether the bytes from..to of the sound file hold anything but silence.
bool HasSignal(long long from, long long to) {
    const unique_file file(CreateFileW(SoundFile().c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    LARGE_INTEGER at{};
    at.QuadPart = from;
    SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(to - from));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return false;
    for (DWORD i = 0; i < read; ++i)
        if (bytes[i] != 0) return true;
    return false;
}

// Runs the message loop (which delivers the end-of-play messages) until the
// condition holds or the time is up; the condition's last value.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    return true;
}
void Pump(std::chrono::milliseconds time) {
    PumpUntil([] { return false; }, time);
}

// The real device, recording every command it is sent (on the worker's
// thread; read on this one) and, when asked, acting as on a volume without
// short names, where the short form of a path is the long one.
class RecordingDevice : public Win32MediaDevice {
  public:
    using Win32MediaDevice::Win32MediaDevice;
    std::atomic<bool> shortNames{true};
    bool SendCommand(const std::string& command, bool notify) override {
        {
            const std::lock_guard lock(mutex_);
            sent_.push_back(command);
        }
        return Win32MediaDevice::SendCommand(command, notify);
    }
    std::string ShortPath(const std::string& path) override {
        return shortNames ? Win32MediaDevice::ShortPath(path) : path;
    }
    std::vector<std::string> Sent() {
        const std::lock_guard lock(mutex_);
        return sent_;
    }
    void Clear() {
        const std::lock_guard lock(mutex_);
        sent_.clear();
    }
    std::vector<std::string> Opened() { return fakes::OpenedFiles(Sent()); }

  private:
    std::mutex mutex_;
    std::vector<std::string> sent_;
};

class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Env(L"ORVANDEL_TEST_SOUNDS").empty()) << "run through ctest";
        ASSERT_FALSE(Env(L"ORVANDEL_SOUND_FILE").empty()) << "run through scripts/wine-run";
    }
    void TearDown() override {
        player.UnloadNotifyWindow();
        player.Stop();
        Settle();
    }
    // Runs the message loop until the media worker has run and reported
    // every job, and those that their answers started: marker jobs go round
    // until one comes back with no other job reported since it was posted.
    void Settle() {
        constexpr std::uint64_t kFirstMarker = std::uint64_t{1} << 62; // above the player's ids
        static std::uint64_t marker = kFirstMarker;
        bool others = true;
        std::uint64_t back = 0;
        media.OnDone([&](std::uint64_t id) {
            if (id >= kFirstMarker) {
                back = id;
            } else {
                others = true;
                player.OnJobDone(id);
            }
        });
        while (others) {
            others = false;
            media.Post(++marker, [](platform::MediaTools&) {});
            if (!PumpUntil([&] { return back == marker; }, 20s)) ADD_FAILURE() << "no answer";
        }
        media.OnDone([this](std::uint64_t id) { player.OnJobDone(id); });
    }
    // The device's state ("playing", "stopped") or the error, once the jobs
    // before have run: asked on the worker's thread, which owns the alias.
    std::string DeviceMode() {
        auto answer = std::make_shared<std::string>();
        Settle();
        media.Post(0, [answer](platform::MediaTools&) {
            wchar_t text[128] = L"";
            const MCIERROR error = mciSendStringW(L"status mp3 mode", text, 128, nullptr);
            *answer = error ? "error " + std::to_string(error) : Utf8(text);
        });
        Settle();
        return *answer;
    }
    // The test sounds as the open commands name them: by their short paths.
    static std::vector<std::string> Named(std::initializer_list<const char*> names) {
        std::vector<std::string> paths;
        for (const char* name : names)
            paths.push_back(Win32MediaDevice().ShortPath(Sound(name)));
        return paths;
    }
    // Waits until a tenth of a second or more of sound, not silence, has
    // been written from now on.
    bool SoundPlays(std::chrono::milliseconds limit = 5s) {
        long long from = SoundBytes();
        return PumpUntil(
            [&] {
                const long long now = SoundBytes();
                if (now < from) from = 0;
                return now > from + 100000 && HasSignal(from, now);
            },
            limit);
    }
    // True when nothing more is written for a while.
    bool SoundStays() {
        Pump(200ms);
        const long long before = SoundBytes();
        Pump(700ms);
        return SoundBytes() == before;
    }
    // A playlist with the given text, written next to the sounds.
    std::string WritePlaylist(const std::string& name, const std::string& text) {
        const std::string path = Sound(name);
        const unique_file file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return path;
    }

    Services services;
    // A worker and player of the test's own, over the recording device.
    Win32MediaThread thread;
    std::unique_ptr<RecordingDevice> owned =
        std::make_unique<RecordingDevice>(thread.NotifyWindow()); // to the worker
    RecordingDevice* device = owned.get();
    audio::MediaWorkerThread media{thread, std::move(owned), services.files,
                                   [this](std::uintptr_t status) { player.OnMciNotify(status); }};
    audio::MusicPlayer player{services.program.platform, media, media};
};

TEST_F(AudioTest, AWavAndAnMp3PlayUntilTheDeviceIsClosed) {
    for (const char* name : {"tone.wav", "long.mp3"}) {
        player.Play(Sound(name), audio::PlayMode::Repeat);
        EXPECT_EQ(DeviceMode(), "playing") << name;
        EXPECT_TRUE(SoundPlays()) << name;
        player.Stop();
        EXPECT_NE(DeviceMode(), "playing") << name;
        EXPECT_TRUE(SoundStays()) << name;
    }
}

TEST_F(AudioTest, NamesWithBlanksOrOutsideTheAnsiCodePagePlayWithAndWithoutShortNames) {
    for (const std::string name : {"track 2.mp3", "Lied \xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.mp3"}) {
        ASSERT_TRUE(services.files.NormalFileExists(Sound(name))) << name;
        for (const bool shortNames : {true, false}) {
            device->shortNames = shortNames;
            device->Clear();
            player.Play(Sound(name), audio::PlayMode::Once);
            EXPECT_EQ(DeviceMode(), "playing") << name << shortNames;
            const std::vector<std::string> sent = device->Sent();
            ASSERT_EQ(sent.size(), 3u);
            if (!shortNames) {
                EXPECT_EQ(sent[1].substr(0, sent[1].find(" style")),
                          "open \"" + Sound(name) + "\" type MPEGVideo Alias mp3");
            }
            EXPECT_TRUE(SoundPlays()) << name << shortNames;
            player.Stop();
            Settle();
        }
    }
}

TEST_F(AudioTest, APlaylistAdvancesByItselfThroughTheNotificationWindow) {
    const std::string list =
        WritePlaylist("three.m3u", "#EXTM3U\r\ntrack 1.mp3\r\ntrack 2.mp3\r\ntrack 3.mp3\r\n");
    // Not the stored music: the list advances because it is played as one.
    player.LoadNotifyWindow();
    ASSERT_TRUE(player.LoadPlaylist(list));
    player.PlayTrack();
    ASSERT_EQ(DeviceMode(), "playing");

    EXPECT_TRUE(PumpUntil([&] { return device->Opened().size() >= 4; }, 15s));
    std::vector<std::string> opened = device->Opened();
    opened.resize(4);
    EXPECT_EQ(opened, Named({"track 1.mp3", "track 2.mp3", "track 3.mp3", "track 1.mp3"}));
    EXPECT_TRUE(SoundPlays());
}

TEST_F(AudioTest, TracksTheDeviceCannotPlayAreSkipped) {
    WritePlaylist("broken.mp3", "this is text, not sound");
    WritePlaylist("empty.mp3", "");
    const std::string list = WritePlaylist("broken.m3u", "broken.mp3\nempty.mp3\ntrack 2.mp3\n");
    player.LoadNotifyWindow();
    ASSERT_TRUE(player.LoadPlaylist(list));
    player.PlayTrack();
    EXPECT_EQ(DeviceMode(), "playing");
    EXPECT_EQ(device->Opened(), Named({"broken.mp3", "empty.mp3", "track 2.mp3"}));
    EXPECT_TRUE(SoundPlays());

    // Nothing in the list plays: one round of tries, then silence.
    player.Stop();
    const std::string none = WritePlaylist("none.m3u", "broken.mp3\r\nempty.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist(none));
    device->Clear();
    player.PlayTrack();
    EXPECT_NE(DeviceMode(), "playing");
    EXPECT_EQ(device->Opened(), Named({"broken.mp3", "empty.mp3"}));
    EXPECT_TRUE(SoundStays());
}

TEST_F(AudioTest, NextAndPreviousSwitchAtOnceWithoutASecondStep) {
    const std::string list = WritePlaylist("switch.m3u", "long.mp3\r\ntrack 2.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist(list));
    player.PlayTrack();
    ASSERT_EQ(DeviceMode(), "playing");
    Pump(300ms);

    player.NextTrack();
    EXPECT_EQ(DeviceMode(), "playing");
    Pump(300ms); // the aborted first track's message must not step on
    EXPECT_EQ(device->Opened(), Named({"long.mp3", "track 2.mp3"}));

    player.PreviousTrack();
    EXPECT_EQ(DeviceMode(), "playing");
    Pump(300ms);
    EXPECT_EQ(device->Opened(), Named({"long.mp3", "track 2.mp3", "long.mp3"}));

    player.UnloadNotifyWindow();
    player.Stop();
    EXPECT_NE(DeviceMode(), "playing");
    EXPECT_TRUE(SoundStays());
}

TEST_F(AudioTest, TheNotificationWindowIsTheWorkersMessageOnlyWindowAndCountsOnlyWhileLoaded) {
    const HWND window = thread.NotifyWindow();
    bool messageOnly = false;
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
        messageOnly = messageOnly || w == window;
    EXPECT_TRUE(messageOnly);

    // Tracks longer than the test, so that only the messages sent here end one.
    const std::string list = WritePlaylist("notify.m3u", "long.mp3\r\nlong.mp3\r\nlong.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist(list));
    player.PlayTrack(); // loads the window
    Settle();
    EXPECT_TRUE(media.Loaded());
    // Superseded and aborted ends never advance; a successful or failed one does.
    for (WPARAM status : {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED})
        EXPECT_EQ(SendMessageW(window, MM_MCINOTIFY, status, 0), 0);
    SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_EQ(DeviceMode(), "playing");
    SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 0);
    Settle();
    EXPECT_EQ(device->Opened().size(), 3u);

    // Unloaded, an end of play moves nothing.
    player.UnloadNotifyWindow();
    SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    Settle();
    EXPECT_EQ(device->Opened().size(), 3u);
}

// Finds the message box titled "Orvandel", reads its text and icon and presses OK.
struct BoxReader {
    std::atomic<bool> found{false};
    std::wstring text;
    bool exclamation = false;
    std::thread thread{[this] {
        for (int i = 0; i < 500 && !found; ++i) {
            HWND box = FindWindowW(L"#32770", L"Orvandel");
            if (box) {
                wchar_t buffer[512] = L"";
                GetDlgItemTextW(box, 0xFFFF, buffer, 512);
                text = buffer;
                // The icon sits in a static control whose id differs between systems.
                EnumChildWindows(
                    box,
                    [](HWND child, LPARAM self) -> BOOL {
                        const auto icon =
                            reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
                        if (icon && icon == LoadIconW(nullptr, IDI_EXCLAMATION))
                            reinterpret_cast<BoxReader*>(self)->exclamation = true;
                        return TRUE;
                    },
                    reinterpret_cast<LPARAM>(this));
                found = true;
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }};
    ~BoxReader() {
        if (thread.joinable()) thread.join();
    }
};

TEST_F(AudioTest, AListThatCannotBeReadIsReportedInABox) {
    const std::string list = WritePlaylist("locked.m3u", "track 1.mp3\r\n");
    const unique_file lock(CreateFileW(Wide(list).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    BoxReader reader;
    player.LoadPlaylist(list);
    Settle(); // the box comes with the worker's answer
    reader.thread.join();
    ASSERT_TRUE(reader.found);
    EXPECT_EQ(Utf8(reader.text), "Module: modAudio\r70 Permission denied");
    EXPECT_TRUE(reader.exclamation);
    player.PlayTrack(); // no list, so no track
    Settle();
    EXPECT_TRUE(device->Sent().empty());
}

} // namespace
} // namespace orv::win32
