#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/desktop_win32.h"
#include "startup/password.h"

namespace orv::win32 {
namespace {

// A key of its own, so the test never touches the real desktop settings.
constexpr wchar_t kKey[] = L"Software\\OrvandelDesktopTest";

class DesktopTest : public ::testing::Test {
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
        return GetRegString(desktop, platform::kHkeyCurrentUser, "Software\\OrvandelDesktopTest",
                            name);
    }
    Win32Desktop desktop;
};

TEST_F(DesktopTest, RegistryValuesReadAsThePasswordSwitchExpects) {
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
    EXPECT_EQ(GetRegString(desktop, platform::kHkeyCurrentUser, "Software\\NoSuchKeyOrvandel", "x"),
              "Not Found");
}

TEST_F(DesktopTest, NoPasswordDialogOnThisSystemAndAUserFolderExists) {
    // NT-family systems (and Wine) have no password.cpl: the close goes ahead.
    EXPECT_FALSE(desktop.VerifyScreenSavePwd(0).has_value());
    const std::string folder = desktop.UserDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.substr(folder.size() - 9), "\\Orvandel");
}

} // namespace
} // namespace orv::win32
