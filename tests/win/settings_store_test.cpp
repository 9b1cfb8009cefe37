#include <gtest/gtest.h>

#include <windows.h>

#include "common/errors.h"
#include "win32/environment.h"
#include "win32/settings_store.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

// A section of its own, so the test never touches the real settings.
constexpr const char* kApp = "OrvandelTest";

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvandelTest"); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OrvandelTest"); }
    Win32SettingsStore store;
    std::string Read(const std::string& key, const std::string& fallback) {
        return store.Open(kApp, "Settings", false)->Read(key, fallback);
    }
    void Write(const std::string& key, const std::string& value) {
        EXPECT_FALSE(store.Open(kApp, "Settings", true)->Write(key, value));
    }
};

TEST_F(SettingsStoreTest, MissingKeysGiveTheDefaultAndCreateNothing) {
    EXPECT_EQ(Read("DisplayTime", "5"), "5");
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\OrvandelTest", 0, KEY_READ, &key),
              ERROR_SUCCESS);
}

TEST_F(SettingsStoreTest, WritesRegSzValuesThatReadBack) {
    Write("PicturesPath", "C:\\Bilder \u00e4\u00f6\u00fc \u65e5\u672c");
    Write("MPEGFile", "");
    EXPECT_EQ(Read("PicturesPath", "x"), "C:\\Bilder \u00e4\u00f6\u00fc \u65e5\u672c");
    EXPECT_EQ(Read("MPEGFile", "default"), "") << "an existing empty value is not the default";

    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\OrvandelTest\\Settings", L"MPEGFile",
                           RRF_RT_ANY, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsStoreTest, ReplacesAnOlderValueThroughOneOpening) {
    const auto section = store.Open(kApp, "Settings", true);
    EXPECT_FALSE(section->Write("DisplayTime", "5"));
    EXPECT_EQ(section->Read("DisplayTime", ""), "5");
    EXPECT_FALSE(section->Write("DisplayTime", "12"));
    EXPECT_EQ(Read("DisplayTime", ""), "12");
}

TEST_F(SettingsStoreTest, StrangeValueTypesReadSensibly) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\OrvandelTest\\Settings", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const DWORD seven = 7;
    RegSetValueExW(key, L"DisplayTime", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4);
    const BYTE blob[] = {1, 2, 3};
    RegSetValueExW(key, L"ShowClock", 0, REG_BINARY, blob, sizeof(blob));
    // A string stored without its terminating NUL.
    const wchar_t raw[] = {L'4', L'2'};
    RegSetValueExW(key, L"ScalePercentage", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw),
                   sizeof(raw));
    RegCloseKey(key);
    EXPECT_EQ(Read("DisplayTime", "5"), "7");
    EXPECT_EQ(Read("ShowClock", "1"), "1");
    EXPECT_EQ(Read("ScalePercentage", "100"), "42");
}

TEST(Win32Environment, KnowsTheWindowsFolderAndItsOwnFolder) {
    Win32Environment env;
    EXPECT_EQ(env.WindowsDirectory(), "C:\\windows");
    const std::string folder = env.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_EQ(Utf8(ProgramFile()).rfind(folder + "\\", 0), 0u);
}

} // namespace
} // namespace orv::win32
