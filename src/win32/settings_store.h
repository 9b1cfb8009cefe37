// The settings store on the registry: HKEY_CURRENT_USER\Software\<app>\<section>,
// one REG_SZ value per key, the key opened once per section; a value stored
// by hand as a number reads as its digits (saver::StoredText decides).
#pragma once
#include <optional>
#include <string>

#include "platform/session.h"
#include "platform/settings_store.h"

namespace orv::win32 {

// One value under a key of the current user's registry, as it is stored;
// nothing when the key or the value cannot be read.
std::optional<platform::RegistryValue> ReadUserRegistryValue(const std::string& keyPath,
                                                             const std::string& valueName);

class Win32SettingsStore : public platform::SettingsStore {
  public:
    std::unique_ptr<platform::SettingsSection>
    Open(const std::string& app, const std::string& section, bool forWriting) override;
};

} // namespace orv::win32
