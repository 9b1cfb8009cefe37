// The settings store on the registry: HKEY_CURRENT_USER\Software\<app>\<section>,
// one REG_SZ value per key.
#pragma once
#include "platform/settings_store.h"

namespace orv::win32 {

class Win32SettingsStore : public platform::SettingsStore {
  public:
    std::string Read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback) const override;
    void Write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value) override;
};

} // namespace orv::win32
