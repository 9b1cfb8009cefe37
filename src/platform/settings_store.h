// Per-user settings addressed by application, section and key; text values.
#pragma once
#include <string>

namespace orv::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text when the value exists (empty stays empty), otherwise
    // `fallback`. Never fails and never creates anything.
    virtual std::string Read(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& fallback) const = 0;
    // Stores the text, creating the application and section as needed.
    // Throws RuntimeError when the platform refuses the write.
    virtual void Write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

} // namespace orv::platform
