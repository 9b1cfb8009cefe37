#include "win32/settings_store.h"

#include <windows.h>

#include "saver/stored_settings.h"
#include "win32/unique_handle.h"
#include "win32/wide.h"

namespace orv::win32 {
namespace {

std::string KeyPath(const std::string& app, const std::string& section) {
    return "Software\\" + app + "\\" + section;
}

platform::RegistryType TypeOf(DWORD type) {
    switch (type) {
    case REG_SZ:
        return platform::RegistryType::Text;
    case REG_EXPAND_SZ:
        return platform::RegistryType::ExpandableText;
    case REG_MULTI_SZ:
        return platform::RegistryType::MultiText;
    case REG_DWORD:
        return platform::RegistryType::Number32;
    default:
        return platform::RegistryType::Other;
    }
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
    std::wstring buffer;
    LONG result = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
    // The value may grow between the two calls: ask again until it fits.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        buffer.assign(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD room = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        result = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &room);
        if (result != ERROR_SUCCESS) {
            bytes = room;
            continue;
        }
        platform::RegistryValue value{TypeOf(type), {}};
        if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
            value.data = Utf8(std::wstring_view(buffer.data(), room / sizeof(wchar_t)));
        else
            value.data.assign(reinterpret_cast<const char*>(buffer.data()), room);
        return value;
    }
    return std::nullopt;
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
