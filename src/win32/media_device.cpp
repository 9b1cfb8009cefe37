#include "win32/media_device.h"

#include <windows.h>

#include <mmsystem.h>

#include "win32/wide.h"

namespace orv::win32 {

bool Win32MediaDevice::SendCommand(const std::string& command, bool notify) {
    HWND callback = notify ? notifyWindow_.Handle() : nullptr;
    return mciSendStringW(Wide(command).c_str(), nullptr, 0, callback) == 0;
}

std::string Win32MediaDevice::ShortPath(const std::string& path) {
    const std::wstring wide = Wide(path);
    // The first call gives the size needed, so long paths are not cut off.
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = GetShortPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n >= buffer.size()) {
        buffer.assign(n, L'\0');
        n = GetShortPathNameW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n >= buffer.size()) return {};
    }
    buffer.resize(n);
    return Utf8(buffer);
}

} // namespace orv::win32
