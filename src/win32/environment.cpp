#include "win32/environment.h"

#include <windows.h>

#include <vector>

#include "common/command_line.h"
#include "common/growing_buffer.h"
#include "common/paths.h"
#include "win32/system_libraries.h"
#include "win32/wide.h"

namespace orv::win32 {

std::wstring ProgramFile() {
    return FillGrowing<wchar_t>(MAX_PATH, [](wchar_t* buffer, std::size_t size) {
        return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
    });
}

std::string Win32Environment::ArgumentText() const {
    return std::string(ArgumentsOf(Utf8(GetCommandLineW())));
}

std::string Win32Environment::ProgramFolder() const {
    return ContainingFolder(Utf8(ProgramFile()));
}

std::string Win32Environment::WindowsDirectory() const {
    return Utf8(FillGrowing<wchar_t>(MAX_PATH + 1, [](wchar_t* buffer, std::size_t size) {
        return GetWindowsDirectoryW(buffer, static_cast<UINT>(size));
    }));
}

platform::Version Win32Environment::ProgramVersion() const {
    const VersionFunctions& version = Version();
    if (!version) return {};
    const std::wstring file = ProgramFile();
    DWORD ignored = 0;
    const DWORD size = version.GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    if (!version.GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!version.VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        !info)
        return {};
    return {static_cast<int>(HIWORD(info->dwFileVersionMS)),
            static_cast<int>(LOWORD(info->dwFileVersionMS)),
            static_cast<int>(HIWORD(info->dwFileVersionLS))};
}

} // namespace orv::win32
