#include "win32/environment.h"

#include <windows.h>

#include <vector>

#include "common/command_line.h"
#include "common/paths.h"
#include "win32/wide.h"

namespace orv::win32 {

std::wstring ProgramFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Environment::ArgumentText() const {
    return std::string(ArgumentsOf(Utf8(GetCommandLineW())));
}

std::string Win32Environment::ProgramFolder() const {
    return ContainingFolder(Utf8(ProgramFile()));
}

std::string Win32Environment::WindowsDirectory() const {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return {};
    return Utf8(std::wstring_view(buffer, n));
}

platform::Version Win32Environment::ProgramVersion() const {
    const std::wstring file = ProgramFile();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info)
        return {};
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS)),
            static_cast<int>(HIWORD(info->dwFileVersionLS))};
}

} // namespace orv::win32
