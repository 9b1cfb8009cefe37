// The records handed to the open-file dialog and the folder browser, and the
// file system's answers for names it cannot look up.
#include <gtest/gtest.h>

#include <windows.h>

#include "win32/file_system.h"
#include "win32/pickers.h"

namespace orv::win32 {
namespace {

TEST(PickerRecords, TheOpenFileRecord) {
    const platform::FileTypes types{
        {{"Wave (*.wav)", "*.wav"}, {"MPEG (*.mp3)", "*.mp3"}}, 1, "mp3"};
    const auto r = MakeOpenFileRecord(0x5678, "Pick one", types, "C:\\Tools\\Ör");
    const OPENFILENAMEW& ofn = r->ofn;
    EXPECT_EQ(ofn.hwndOwner, reinterpret_cast<HWND>(0x5678));
    EXPECT_EQ(std::wstring(ofn.lpstrFilter, r->filter.size()),
              std::wstring(L"Wave (*.wav)\0*.wav\0MPEG (*.mp3)\0*.mp3\0\0", 39));
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_EQ(ofn.nMaxFile, 1026u);
    EXPECT_EQ(r->file, std::wstring(1026, L'\0')) << "the file-name box opens empty";
    EXPECT_EQ(std::wstring(ofn.lpstrInitialDir), L"C:\\Tools\\\u00d6r");
    EXPECT_EQ(std::wstring(ofn.lpstrTitle), L"Pick one");
    EXPECT_EQ(ofn.Flags, 0x382000u);
    EXPECT_EQ(std::wstring(ofn.lpstrDefExt), L"mp3");
}

TEST(PickerRecords, TheBrowseRecordStartsAtTheDesktop) {
    const auto r = MakeBrowseRecord(0x42, "Orvandel - Select Path");
    EXPECT_EQ(r->info.hwndOwner, reinterpret_cast<HWND>(0x42));
    EXPECT_EQ(r->info.pidlRoot, nullptr);
    EXPECT_EQ(r->displayName.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(r->info.ulFlags, 0u);
    EXPECT_EQ(std::wstring(r->info.lpszTitle), L"Orvandel - Select Path");
}

TEST(FileSystem, NamesThatCannotBeLookedUpCountAsMissing) {
    using platform::LookupFilter;
    Win32FileSystem files;
    EXPECT_FALSE(files.NormalFileExists("C:\\bad|name"));
    EXPECT_FALSE(files.Lookup("C:\\bad|name", LookupFilter::FilesOnly));
    EXPECT_FALSE(files.Lookup("C:\\bad|name", LookupFilter::FoldersAndFiles));
    EXPECT_FALSE(files.NormalFileExists("C:\\windows\\win*.ini")) << "a pattern is no name";
    EXPECT_TRUE(files.Lookup("C:\\windows\\win*.ini", LookupFilter::FilesOnly));
    EXPECT_TRUE(files.NormalFileExists("C:\\windows\\win.ini"));
}

} // namespace
} // namespace orv::win32
