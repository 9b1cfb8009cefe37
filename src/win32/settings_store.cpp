#include "win32/settings_store.h"

#include <windows.h>

#include <algorithm>

#include "common/growing_buffer.h"
#include "saver/stored_settings.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

std::string KeyPath(const std::string& app, const std::string& section) {
    return "Software\\" + app + "\\" + section;
}

} // namespace

std::optional<platform::RegistryValue> ReadUserRegistryValue(const std::string& keyPath,
                                                             const std::string& valueName) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const unique_hkey key(raw);
    const std::wstring name = Wide(valueName);
    DWORD type = 0, bytes = 0;
    bool read = false;
    // Read as wide characters, enough for every byte; the value may grow
    // between two calls, then it is read again into a bigger buffer.
    const std::wstring buffer = FillGrowing<wchar_t>(64, [&](wchar_t* data, std::size_t size) {
        bytes = static_cast<DWORD>(size * sizeof(wchar_t));
        const LONG result = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                             reinterpret_cast<BYTE*>(data), &bytes);
        const std::size_t chars = (bytes + 1) / sizeof(wchar_t);
        read = result == ERROR_SUCCESS && chars < size;
        if (read) return chars;
        return result == ERROR_SUCCESS || result == ERROR_MORE_DATA ? std::max(chars, size) : 0;
    });
    if (!read) return std::nullopt;
    platform::RegistryValue value{saver::RegistryTypeOf(type), {}};
    if (saver::HoldsText(value.type))
        value.data = Utf8(std::wstring_view(buffer.data(), bytes / sizeof(wchar_t)));
    else
        value.data.assign(reinterpret_cast<const char*>(buffer.data()), bytes);
    return value;
}

std::string Win32SettingsStore::Read(const std::string& app, const std::string& section,
                                     const std::string& key, const std::string& fallback) const {
    return saver::StoredText(ReadUserRegistryValue(KeyPath(app, section), key), fallback);
}

std::optional<RuntimeError> Win32SettingsStore::Write(const std::string& app,
                                                      const std::string& section,
                                                      const std::string& key,
                                                      const std::string& value) {
    HKEY raw = nullptr;
    LONG result = RegCreateKeyExW(HKEY_CURRENT_USER, Wide(KeyPath(app, section)).c_str(), 0,
                                  nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr);
    if (result != ERROR_SUCCESS) return FromSystemError(static_cast<std::uint32_t>(result));
    const unique_hkey hkey(raw);
    const std::wstring data = Wide(value);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    result = RegSetValueExW(hkey.get(), Wide(key).c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes);
    if (result != ERROR_SUCCESS) return FromSystemError(static_cast<std::uint32_t>(result));
    return std::nullopt;
}

} // namespace orv::win32
