#include "win32/settings_store.h"

#include <windows.h>

#include <vector>

#include "common/errors.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

std::wstring KeyPath(const std::string& app, const std::string& section) {
    return L"Software\\" + Wide(app) + L"\\" + Wide(section);
}

} // namespace

std::string Win32SettingsStore::Read(const std::string& app, const std::string& section,
                                     const std::string& key, const std::string& fallback) const {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return fallback;
    const unique_hkey hkey(raw);
    const std::wstring name = Wide(key);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(hkey.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return fallback;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        // Not written by us, but a number someone stored by hand still means that number.
        DWORD v = 0;
        RegQueryValueExW(hkey.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&v),
                         &size);
        return std::to_string(v);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) return fallback;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(hkey.get(), name.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS)
        return fallback;
    // The text ends at its first NUL, whether or not the stored data had one.
    return Utf8(std::wstring(buffer.data()));
}

void Win32SettingsStore::Write(const std::string& app, const std::string& section,
                               const std::string& key, const std::string& value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
        throw PermissionDenied();
    const unique_hkey hkey(raw);
    const std::wstring data = Wide(value);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    if (RegSetValueExW(hkey.get(), Wide(key).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()), bytes) != ERROR_SUCCESS)
        throw PermissionDenied();
}

} // namespace orv::win32
