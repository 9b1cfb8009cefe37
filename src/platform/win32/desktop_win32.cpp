#include "platform/win32/desktop_win32.h"

#include <windows.h>

#include <shlobj.h>

#include "common/app_title.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/wide.h"

namespace orv::win32 {
namespace {
// The read buffer of a registry value, in characters.
constexpr DWORD kReadBufferChars = 2048;
} // namespace

void Win32Desktop::ShowCursor(bool show) {
    ::ShowCursor(show ? TRUE : FALSE);
}

void Win32Desktop::SetScreenSaverRunning(bool running) {
    UINT previous = 0;
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

std::optional<platform::RegistryValue>
Win32Desktop::QueryRegistryValue(std::uint32_t root, const std::string& keyPath,
                                 const std::string& valueName) {
    HKEY raw = nullptr;
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    if (RegOpenKeyExW(rootKey, Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    const unique_hkey key(raw);
    std::wstring buffer(kReadBufferChars, L' ');
    DWORD type = 0;
    DWORD bytes = kReadBufferChars * sizeof(wchar_t);
    if (RegQueryValueExW(key.get(), Wide(valueName).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    platform::RegistryValue value;
    value.type = type;
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
        value.data = Utf8(std::wstring_view(buffer.data(), bytes / sizeof(wchar_t)));
    else
        value.data.assign(reinterpret_cast<const char*>(buffer.data()), bytes);
    return value;
}

std::optional<std::int32_t> Win32Desktop::VerifyScreenSavePwd(std::intptr_t owner) {
    // Only the old consumer line of Windows has this dialog; everywhere else
    // the system locks the session itself.
    const unique_hmodule cpl(LoadLibraryW(L"password.cpl"));
    if (!cpl) return std::nullopt;
    using Verify = BOOL(WINAPI*)(HWND);
    const auto verify = reinterpret_cast<Verify>(
        reinterpret_cast<void*>(GetProcAddress(cpl.get(), "VerifyScreenSavePwd")));
    if (!verify) return std::nullopt;
    return static_cast<std::int32_t>(verify(reinterpret_cast<HWND>(owner)));
}

void Win32Desktop::SetWallpaper(const std::string& bmpPath) {
    std::wstring path = Wide(bmpPath);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 1, path.data(), SPIF_UPDATEINIFILE);
}

std::string Win32Desktop::UserDataFolder() {
    PWSTR raw = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &raw))) {
        CoTaskMemFree(raw);
        return {};
    }
    std::wstring folder = std::wstring(raw) + L"\\" + Wide(kAppTitle);
    CoTaskMemFree(raw);
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return Utf8(folder);
}

} // namespace orv::win32
