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

// A value of an open key, as it is stored; nothing when it cannot be read.
std::optional<platform::RegistryValue> ReadValue(HKEY key, const std::string& valueName) {
    if (!key) return std::nullopt;
    const std::wstring name = Wide(valueName);
    DWORD type = 0, bytes = 0;
    bool read = false;
    // Read as wide characters, enough for every byte; the value may grow
    // between two calls, then it is read again into a bigger buffer.
    const std::wstring buffer = FillGrowing<wchar_t>(64, [&](wchar_t* data, std::size_t size) {
        bytes = static_cast<DWORD>(size * sizeof(wchar_t));
        const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type,
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

// A section's key, or the reason it could not be opened for writing.
class RegistrySection final : public platform::SettingsSection {
  public:
    RegistrySection(HKEY key, LONG refused) : key_(key), refused_(refused) {}
    std::string Read(const std::string& key, const std::string& fallback) const override {
        return saver::StoredText(ReadValue(key_.get(), key), fallback);
    }
    std::optional<RuntimeError> Write(const std::string& key, const std::string& value) override {
        LONG result = refused_;
        if (result == ERROR_SUCCESS) {
            const std::wstring data = Wide(value);
            const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
            result = RegSetValueExW(key_.get(), Wide(key).c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(data.c_str()), bytes);
        }
        if (result != ERROR_SUCCESS) return FromSystemError(static_cast<std::uint32_t>(result));
        return std::nullopt;
    }

  private:
    unique_hkey key_;
    LONG refused_;
};

} // namespace

std::optional<platform::RegistryValue> ReadUserRegistryValue(const std::string& keyPath,
                                                             const std::string& valueName) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(keyPath).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return std::nullopt;
    const unique_hkey key(raw);
    return ReadValue(key.get(), valueName);
}

std::unique_ptr<platform::SettingsSection>
Win32SettingsStore::Open(const std::string& app, const std::string& section, bool forWriting) {
    HKEY raw = nullptr;
    const std::wstring path = Wide(KeyPath(app, section));
    LONG result = forWriting
                      ? RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &raw, nullptr)
                      : RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &raw);
    if (result != ERROR_SUCCESS) raw = nullptr;
    // A section missing for reading is no refusal: its values are missing.
    if (!forWriting) result = ERROR_SUCCESS;
    return std::make_unique<RegistrySection>(raw, result);
}

} // namespace orv::win32
