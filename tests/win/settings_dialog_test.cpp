// The settings window in this process: every control's pixels, fonts and
// limits, the Tab order, and the checks met by a click, Tab, Enter and the
// clock box. The store, message boxes and media are fakes: nothing blocks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

#include "audio/music_player.h"
#include "host/fakes/fake_media.h"
#include "host/fakes/fake_platform.h"
#include "settings/settings_layout.h"
#include "win32/clock.h"
#include "win32/environment.h"
#include "win32/file_system.h"
#include "win32/pickers.h"
#include "win32/session.h"
#include "win32/settings_dialog.h"
#include "win32/unique_handle.h"
#include "win32/wallpaper.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

namespace L = settings;
using C = platform::SettingsControl;
int Id(C control) {
    return L::Find(control).id;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
}

class SettingsWindowTest : public ::testing::Test {
  protected:
    fakes::FakeStore store;
    fakes::FakeMessages messages;
    Win32Environment environment;
    Win32Clock clock;
    Win32Random random;
    Win32Session session;
    Win32Wallpaper wallpaper;
    Win32FileSystem files;
    Win32Pickers pickers;
    fakes::FakeMedia media{files};
    platform::Platform bundle{store,  environment, messages,  clock,
                              random, session,     wallpaper, files};
    audio::MusicPlayer music{bundle, media.worker, media.window};
    HWND dialog = nullptr;

    void SetUp() override {
        ShowSettingsDialog(bundle, {environment.ProgramFolder(), 0, 2, 100, ""}, music, pickers);
        dialog = FindWindowW(nullptr, L"Orvandel - Settings");
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(GetWindowThreadProcessId(dialog, nullptr), GetCurrentThreadId());
        Pump();
    }
    void TearDown() override {
        if (IsWindow(dialog)) DestroyWindow(dialog);
        Pump();
    }
    HWND Item(C control) { return GetDlgItem(dialog, Id(control)); }
    void Click(C control) {
        SendMessageW(Item(control), BM_CLICK, 0, 0);
        Pump();
    }
};

TEST_F(SettingsWindowTest, ControlsSitAtTheirPixelsWithTheirFontsLimitsAndTabOrder) {
    const WindowDc screen(nullptr);
    const double tppX = 1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSX),
                 tppY = 1440.0 / GetDeviceCaps(screen.get(), LOGPIXELSY);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, TwipsToPixels(L::kClientWidth, tppX));
    EXPECT_EQ(client.bottom, TwipsToPixels(L::kClientHeight, tppY));
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME);
    for (const auto& c : L::Controls()) {
        SCOPED_TRACE(c.id);
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, c.id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const auto px = L::ToPixels(c, tppX, tppY);
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  std::vector<long>({px.x, px.y, px.width, px.height}));
        EXPECT_EQ(IsWindowVisible(GetDlgItem(dialog, c.id)) != 0, !c.hiddenAtOpen);
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, c.id), WM_GETFONT, 0, 0)),
            sizeof(font), &font);
        EXPECT_EQ(font.lfWeight >= FW_BOLD, c.kind == L::Kind::SmallButton);
        EXPECT_STREQ(font.lfFaceName, L"Microsoft Sans Serif");
        if (c.kind == L::Kind::TextField) {
            EXPECT_EQ((GetWindowLongW(GetDlgItem(dialog, c.id), GWL_STYLE) & ES_RIGHT) != 0,
                      c.align == L::Align::Right);
            if (c.maxLength) {
                EXPECT_EQ(SendMessageW(GetDlgItem(dialog, c.id), EM_GETLIMITTEXT, 0, 0),
                          c.maxLength);
            }
        }
    }
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), Id(C::Ok));
    EXPECT_EQ(GetFocus(), Item(C::PicturesPath));

    ShowWindow(Item(C::Back), SW_SHOW);
    ShowWindow(Item(C::Next), SW_SHOW);
    std::vector<int> order;
    HWND at = Item(C::PicturesPath);
    do
        order.push_back(GetDlgCtrlID(at));
    while ((at = GetNextDlgTabItem(dialog, at, FALSE)) != Item(C::PicturesPath) &&
           order.size() < 20);
    std::vector<int> expected;
    for (C c :
         {C::PicturesPath, C::DisplayTime, C::ShowClock, C::ScalePercentage, C::MusicFile, C::Ok,
          C::Cancel, C::SelectPath, C::Play, C::Stop, C::SelectMusicFile, C::Back, C::Next})
        expected.push_back(Id(c));
    EXPECT_EQ(order, expected);
}

TEST_F(SettingsWindowTest, MovedToAMonitorOfAnotherScaleItLaysItselfOutAgain) {
    for (int dpi : {192, 120, 96}) {
        SCOPED_TRACE(dpi);
        RECT suggested{30, 40, 300, 200};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const double tpp = 1440.0 / dpi;
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, TwipsToPixels(L::kClientWidth, tpp));
        EXPECT_EQ(client.bottom, TwipsToPixels(L::kClientHeight, tpp));
        RECT window{};
        GetWindowRect(dialog, &window);
        EXPECT_EQ(window.left, 30);
        EXPECT_EQ(window.top, 40);
        const L::Control& ok = L::Find(C::Ok);
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, ok.id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const PixelRect px = L::ToPixels(ok, tpp, tpp);
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.right - r.left}),
                  std::vector<long>({px.x, px.y, px.width}));
        LOGFONTW font{};
        GetObjectW(
            reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, ok.id), WM_GETFONT, 0, 0)),
            sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, -static_cast<long>(std::lround(8.25 * dpi / 72)));
        // Every control holds a live font: none was deleted under it.
        for (const auto& c : L::Controls()) {
            const auto held =
                reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, c.id), WM_GETFONT, 0, 0));
            EXPECT_NE(GetObjectW(held, sizeof(font), &font), 0) << c.id;
        }
    }
}

TEST_F(SettingsWindowTest, ARefusedFieldKeepsTheFocusAndEveryWayOutDoesNothing) {
    SetFocus(Item(C::ScalePercentage));
    SetWindowTextW(Item(C::ScalePercentage), L"0");
    Click(C::Ok);
    SendMessageW(Item(C::ScalePercentage), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); // Enter
    Click(C::ShowClock);
    Click(C::Stop);
    EXPECT_EQ(messages.shown, fakes::ShownMessages(5, {"Must be between 1 and 100!"}));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(GetFocus(), Item(C::ScalePercentage));
    EXPECT_EQ(IsDlgButtonChecked(dialog, Id(C::ShowClock)), BST_INDETERMINATE);
    EXPECT_TRUE(media.device.sent.empty());

    SetWindowTextW(Item(C::ScalePercentage), L"50");
    Click(C::ShowClock);
    EXPECT_EQ(IsDlgButtonChecked(dialog, Id(C::ShowClock)), BST_CHECKED);
    Click(C::Ok);
    EXPECT_EQ(messages.shown.size(), 5u);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(store.writes, (std::vector<std::pair<std::string, std::string>>{
                                {"PicturesPath", environment.ProgramFolder()},
                                {"DisplayTime", "0"},
                                {"ShowClock", "1"},
                                {"ScalePercentage", "50"},
                                {"MPEGFile", ""}}));
    EXPECT_FALSE(media.window.Loaded()) << "the notification window goes with the dialog";
}

TEST_F(SettingsWindowTest, CancelRunsNoCheck) {
    SetFocus(Item(C::PicturesPath));
    SetWindowTextW(Item(C::PicturesPath), L"C:\\no\\such\\folder");
    SendMessageW(Item(C::PicturesPath), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(messages.shown, fakes::ShownMessages{{"Invalid dir!"}});
    Click(C::Cancel);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(store.writes.empty());
}

} // namespace
} // namespace orv::win32
