// The settings window in this process: every control's pixels, fonts and
// limits, the Tab order, and the checks met by a click, Tab, Enter and the
// clock box. The store, message boxes and media are recorded: nothing blocks.
#include <gtest/gtest.h>

#include <windows.h>

#include "audio/mod_audio.h"
#include "platform/media.h"
#include "platform/win32/basic_services.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/environment_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/frm_settings_win32.h"
#include "platform/win32/wide.h"
#include "settings/settings_layout.h"

namespace orv::win32 {
namespace {

namespace L = settings_layout;

struct Recorder : platform::SettingsStore,
                  platform::MessageBoxes,
                  platform::Forms,
                  platform::MediaDevice,
                  platform::AudioNotifyWindow {
    std::vector<std::string> writes, shown, sent;
    bool loaded = false;
    std::string Read(const std::string&, const std::string&, const std::string&,
                     const std::string& fallback) const override {
        return fallback;
    }
    void Write(const std::string&, const std::string&, const std::string& key,
               const std::string& v) override {
        writes.push_back(key + "=" + v);
    }
    int Show(const std::string& text, int, const std::string&) override {
        shown.push_back(text);
        return 1;
    }
    void ShowSlideshow() override {}
    void ShowPreview(std::int32_t) override {}
    void ShowSettings() override {}
    void SendCommand(const std::string& command, bool) override { sent.push_back(command); }
    std::string ShortPath(const std::string& path) override { return path; }
    void Load() override { loaded = true; }
    void Unload() override { loaded = false; }
    bool Loaded() const override { return loaded; }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
}

class SettingsWindowTest : public ::testing::Test {
  protected:
    Recorder rec;
    Win32Environment environment;
    Win32Clock clock;
    Win32Random random;
    Win32Desktop desktop;
    Win32FileSystem files;
    platform::Platform bundle{rec, environment, rec, clock, random, desktop, rec, files};
    modScreenSaver module;
    modAudio audio{bundle, module, rec, rec};
    HWND dialog = nullptr;

    void SetUp() override {
        module.objPicSS = std::make_unique<clsPicSS>(bundle);
        module.objPicSS->SetPath(environment.ProgramFolder());
        module.objPicSS->SetShowClock(2.0);
        module.objPicSS->SetScalePercentage(100.0);
        ShowSettingsDialog(bundle, module, audio);
        dialog = FindWindowW(nullptr, L"Orvandel - Settings");
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(GetWindowThreadProcessId(dialog, nullptr), GetCurrentThreadId());
        Pump();
    }
    void TearDown() override {
        if (IsWindow(dialog)) DestroyWindow(dialog);
        Pump();
    }
    HWND Item(int id) { return GetDlgItem(dialog, id); }
    void Click(int id) {
        SendMessageW(Item(id), BM_CLICK, 0, 0);
        Pump();
    }
};

TEST_F(SettingsWindowTest, ControlsSitAtTheirPixelsWithTheirFontsLimitsAndTabOrder) {
    const HDC screen = GetDC(nullptr);
    const double tppX = 1440.0 / GetDeviceCaps(screen, LOGPIXELSX),
                 tppY = 1440.0 / GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, L::TwipsToPixels(L::kClientWidth, tppX));
    EXPECT_EQ(client.bottom, L::TwipsToPixels(L::kClientHeight, tppY));
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME);
    for (const auto& c : L::Controls()) {
        SCOPED_TRACE(c.name);
        RECT r{};
        GetWindowRect(Item(c.id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const auto px = L::ToPixels(c, tppX, tppY);
        EXPECT_EQ(std::vector<long>({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  std::vector<long>({px.x, px.y, px.width, px.height}));
        EXPECT_EQ(IsWindowVisible(Item(c.id)) != 0, !c.hiddenAtOpen);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Item(c.id), WM_GETFONT, 0, 0)),
                   sizeof(font), &font);
        EXPECT_EQ(font.lfWeight >= FW_BOLD, c.kind == L::Kind::SmallButton);
        if (c.kind == L::Kind::TextField) {
            EXPECT_EQ((GetWindowLongW(Item(c.id), GWL_STYLE) & ES_RIGHT) != 0,
                      c.align == L::Align::Right);
            if (c.maxLength) {
                EXPECT_EQ(SendMessageW(Item(c.id), EM_GETLIMITTEXT, 0, 0), c.maxLength);
            }
        }
    }
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), L::kOk);
    EXPECT_EQ(GetFocus(), Item(L::kPicturesPath));

    ShowWindow(Item(L::kPrev), SW_SHOW);
    ShowWindow(Item(L::kNext), SW_SHOW);
    std::vector<int> order;
    HWND at = Item(L::kPicturesPath);
    do
        order.push_back(GetDlgCtrlID(at));
    while ((at = GetNextDlgTabItem(dialog, at, FALSE)) != Item(L::kPicturesPath) &&
           order.size() < 20);
    EXPECT_EQ(order, (std::vector<int>{L::kPicturesPath, L::kDisplayTime, L::kShowClock,
                                       L::kScalePercentage, L::kMPEGFile, L::kOk, L::kCancel,
                                       L::kSelectPath, L::kPlay, L::kStop, L::kSelectMPEGFile,
                                       L::kPrev, L::kNext}));
}

TEST_F(SettingsWindowTest, ARefusedFieldKeepsTheFocusAndEveryWayOutDoesNothing) {
    SetFocus(Item(L::kScalePercentage));
    SetWindowTextW(Item(L::kScalePercentage), L"0");
    Click(L::kOk);
    SendMessageW(Item(L::kScalePercentage), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); // Enter
    Click(L::kShowClock);
    Click(L::kStop);
    EXPECT_EQ(rec.shown, std::vector<std::string>(5, "Must be between 1 and 100!"));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(rec.writes.empty());
    EXPECT_EQ(GetFocus(), Item(L::kScalePercentage));
    EXPECT_EQ(IsDlgButtonChecked(dialog, L::kShowClock), BST_INDETERMINATE);
    EXPECT_TRUE(rec.sent.empty());

    SetWindowTextW(Item(L::kScalePercentage), L"50");
    Click(L::kShowClock);
    EXPECT_EQ(IsDlgButtonChecked(dialog, L::kShowClock), BST_CHECKED);
    Click(L::kOk);
    EXPECT_EQ(rec.shown.size(), 5u);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(rec.writes, (std::vector<std::string>{"PicturesPath=" + environment.ProgramFolder(),
                                                    "DisplayTime=0", "ShowClock=1",
                                                    "ScalePercentage=50", "MPEGFile="}));
    EXPECT_EQ(module.objPicSS, nullptr);
    EXPECT_FALSE(rec.loaded) << "the notification window goes with the dialog";
}

TEST_F(SettingsWindowTest, CancelRunsNoCheck) {
    SetFocus(Item(L::kPicturesPath));
    SetWindowTextW(Item(L::kPicturesPath), L"C:\\no\\such\\folder");
    SendMessageW(Item(L::kPicturesPath), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(rec.shown, std::vector<std::string>{"Invalid dir!"});
    Click(L::kCancel);
    EXPECT_EQ(rec.shown.size(), 1u);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(rec.writes.empty());
}

} // namespace
} // namespace orv::win32
