#include "win32/wallpaper.h"

#include <windows.h>

#include <shlobj.h>

#include "common/app_title.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {

void Win32Wallpaper::Set(const std::string& bmpPath) {
    std::wstring path = Wide(bmpPath);
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 1, path.data(), SPIF_UPDATEINIFILE);
}

std::string Win32Wallpaper::UserFolder() {
    PWSTR raw = nullptr;
    const HRESULT hr = SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &raw);
    const unique_cotaskmem<wchar_t> localAppData(raw);
    if (FAILED(hr) || !localAppData) return {};
    const std::wstring folder = std::wstring(localAppData.get()) + L"\\" + Wide(kAppTitle);
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return Utf8(folder);
}

} // namespace orv::win32
