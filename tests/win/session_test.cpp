#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "saver/running_flag.h"
#include "saver/tracked_session.h"
#include "startup/password.h"
#include "win32/session.h"
#include "win32/unique_handle.h"
#include "win32/wallpaper.h"

namespace orv::win32 {
namespace {

// A key of its own, so the test never touches the real desktop settings.
constexpr wchar_t kKey[] = L"Software\\OrvandelDesktopTest";

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void SetDword(const wchar_t* name, DWORD v) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &v, sizeof v);
    }
    void SetText(const wchar_t* name, const std::wstring& text) {
        RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_SZ, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::string Read(const char* name) {
        return startup::RegistryText(session, "Software\\OrvandelDesktopTest", name);
    }
    Win32Session session;
};

TEST_F(SessionTest, RegistryValuesReadAsThePasswordSwitchExpects) {
    SetDword(L"One", 1);
    SetDword(L"Big", 1001);
    SetText(L"Text", L"1");
    SetText(L"Empty", L"");
    SetText(L"Wide", L"\u00e9t\u00e9");
    EXPECT_EQ(Read("One"), "001");
    EXPECT_EQ(Read("Big"), "100");
    EXPECT_EQ(Read("Text"), "1");
    EXPECT_EQ(Read("Empty"), "");
    EXPECT_EQ(Read("Wide"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(Read("Missing"), "Not Found");
    EXPECT_EQ(startup::RegistryText(session, "Software\\NoSuchKeyOrvandel", "x"), "Not Found");
}

TEST_F(SessionTest, NoPasswordDialogOnThisSystemAndAUserFolderExists) {
    // NT-family systems (and Wine) have no password.cpl: the close goes ahead.
    EXPECT_FALSE(session.VerifyPassword(0).has_value());
    const std::string folder = Win32Wallpaper().UserFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.substr(folder.size() - 9), "\\Orvandel");
}

// The cursor's display counter, read without changing it.
int CursorCount() {
    const int count = ::ShowCursor(TRUE) - 1;
    ::ShowCursor(FALSE);
    return count;
}

bool ScreenSaverRunning() {
    BOOL running = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running != FALSE;
}

TEST_F(SessionTest, RestorePutsBackTheCursorAndTheRunningFlagOnce) {
    const int before = CursorCount();
    saver::TrackedSession tracked(session);
    saver::RaiseRunningFlag(tracked);
    tracked.ShowCursor(false);
    tracked.ShowCursor(true); // a password box shows it for a moment
    tracked.ShowCursor(false);
    tracked.ShowCursor(false);
    EXPECT_EQ(CursorCount(), before - 2);
    EXPECT_TRUE(ScreenSaverRunning());
    tracked.Restore();
    EXPECT_EQ(CursorCount(), before);
    EXPECT_FALSE(ScreenSaverRunning());
    tracked.Restore();
    EXPECT_EQ(CursorCount(), before) << "what was put back is not put back twice";
}

TEST(UniqueHandle, NoneValuesAreEmptyAndNothingIsClosedTwice) {
    EXPECT_FALSE(unique_file(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(unique_file(nullptr));
    unique_file file(CreateFileW(L"C:\\windows\\win.ini", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file);
    const HANDLE raw = file.get();
    unique_file moved(std::move(file));
    EXPECT_FALSE(file);
    EXPECT_EQ(moved.get(), raw);
    moved.reset(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(moved);
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when replaced";
}

} // namespace
} // namespace orv::win32
