#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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

class AudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Env(L"ORVANDEL_TEST_SOUNDS").empty()) << "run through ctest";
        ASSERT_FALSE(Env(L"ORVANDEL_SOUND_FILE").empty()) << "run through scripts/wine-run";
    }
    void TearDown() override {
        services.music.UnloadNotifyWindow();
        services.music.Stop();
        Settle();
    }
    // Runs the message loop until the media worker has run and reported
    // every job (and those their answers started).
    void Settle(Win32MediaWorker* worker = nullptr) {
        EXPECT_TRUE(PumpUntil([&] { return (worker ? *worker : services.media).Idle(); }, 20s));
    }
    // The device's state ("playing", "stopped") or the error, once the jobs
    // before have run: asked on the worker's thread, which owns the alias.
    std::string DeviceMode(Win32MediaWorker* worker = nullptr) {
        auto answer = std::make_shared<std::string>();
        Settle(worker);
        (worker ? *worker : services.media).Post(0, [answer](platform::MediaTools&) {
            wchar_t text[128] = L"";
            const MCIERROR error = mciSendStringW(L"status mp3 mode", text, 128, nullptr);
            *answer = error ? "error " + std::to_string(error) : Utf8(text);
        });
        Settle(worker);
        return *answer;
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
    audio::MusicPlayer& player = services.music;
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

// The real device on a volume without short names: the short form of a path
// is the long one, blanks and all.
class NoShortNamesDevice : public Win32MediaDevice {
  public:
    bool SendCommand(const std::string& command, bool notify) override {
        sent.push_back(command);
        return Win32MediaDevice::SendCommand(command, notify);
    }
    std::string ShortPath(const std::string& path) override { return path; }
    std::vector<std::string> sent;
};

TEST_F(AudioTest, NamesWithBlanksOrOutsideTheAnsiCodePagePlayWithAndWithoutShortNames) {
    auto owned = std::make_unique<NoShortNamesDevice>();
    NoShortNamesDevice& device = *owned;
    Win32MediaWorker worker(services.notifyWindow, std::move(owned));
    audio::MusicPlayer longNames(services.platform, worker, services.notifyWindow);
    for (const std::string name : {"track 2.mp3", "Lied \xc3\xbc \xe6\x97\xa5\xe6\x9c\xac.mp3"}) {
        ASSERT_TRUE(services.files.NormalFileExists(Sound(name))) << name;
        player.Play(Sound(name), audio::PlayMode::Once);
        EXPECT_EQ(DeviceMode(), "playing") << name;
        player.Stop(); // the other worker's device opens the same file
        Settle();

        longNames.Play(Sound(name), audio::PlayMode::Once);
        EXPECT_EQ(DeviceMode(&worker), "playing") << name;
        ASSERT_EQ(device.sent.size(), 3u);
        EXPECT_EQ(device.sent[1].substr(0, device.sent[1].find(" style")),
                  "open \"" + Sound(name) + "\" type MPEGVideo Alias mp3");
        EXPECT_TRUE(SoundPlays()) << name;
        longNames.Stop();
        Settle(&worker);
        device.sent.clear();
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

    std::vector<int> order{player.Track()};
    const bool wrapped = PumpUntil(
        [&] {
            if (player.Track() != order.back()) order.push_back(player.Track());
            return order.size() >= 4;
        },
        15s);
    EXPECT_TRUE(wrapped);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 1}));
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
    EXPECT_EQ(player.CurrentTrack(), Sound("track 2.mp3"));
    EXPECT_TRUE(SoundPlays());

    // Nothing in the list plays: one round of tries, then silence.
    const std::string none = WritePlaylist("none.m3u", "broken.mp3\r\nempty.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist(none));
    player.PlayTrack();
    EXPECT_NE(DeviceMode(), "playing");
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
    EXPECT_EQ(player.Track(), 2);
    Pump(300ms); // the aborted first track's message must not step on
    EXPECT_EQ(player.Track(), 2);

    player.PreviousTrack();
    EXPECT_EQ(DeviceMode(), "playing");
    EXPECT_EQ(player.Track(), 1);
    Pump(300ms);
    EXPECT_EQ(player.Track(), 1);

    player.UnloadNotifyWindow();
    player.Stop();
    EXPECT_NE(DeviceMode(), "playing");
    EXPECT_TRUE(SoundStays());
}

TEST_F(AudioTest, TheNotificationWindowSwapsItsProcedureAndPutsItBack) {
    player.LoadNotifyWindow();
    const HWND window = services.notifyWindow.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    // Other messages reach the procedure it had: the default one keeps the caption.
    EXPECT_EQ(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Caption")), TRUE);
    wchar_t caption[32] = L"";
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"Caption");
    const LONG_PTR swapped = GetWindowLongPtrW(window, GWLP_WNDPROC);

    // Superseded and aborted ends never advance; a successful or failed one does.
    const std::string list =
        WritePlaylist("swap.m3u", "track 1.mp3\r\ntrack 2.mp3\r\ntrack 3.mp3\r\n");
    ASSERT_TRUE(player.LoadPlaylist(list));
    player.PlayTrack();
    Settle();
    for (WPARAM status : {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED})
        EXPECT_EQ(SendMessageW(window, MM_MCINOTIFY, status, 0), 0);
    EXPECT_EQ(player.Track(), 1);
    SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 0);
    EXPECT_EQ(DeviceMode(), "playing");
    EXPECT_EQ(player.Track(), 2);
    SendMessageW(window, MM_MCINOTIFY, MCI_NOTIFY_FAILURE, 0);
    Settle();
    EXPECT_EQ(player.Track(), 3);

    services.notifyWindow.Unload();
    EXPECT_FALSE(IsWindow(window));
    player.LoadNotifyWindow();
    EXPECT_EQ(GetWindowLongPtrW(services.notifyWindow.Handle(), GWLP_WNDPROC), swapped);
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
    EXPECT_EQ(player.Track(), 0);
}

} // namespace
} // namespace orv::win32
