// Per-user settings addressed by application, section and key; text values.
#pragma once
#include <optional>
#include <string>

#include "common/errors.h"

namespace orv::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text when the value exists (empty stays empty), otherwise
    // `fallback`. Never fails and never creates anything.
    virtual std::string Read(const std::string& app, const std::string& section,
                             const std::string& key, const std::string& fallback) const = 0;
    // Stores the text, creating the application and section as needed.
    // Nothing on success; the platform's reason when it refuses the write.
    virtual std::optional<RuntimeError> Write(const std::string& app, const std::string& section,
                                              const std::string& key, const std::string& value) = 0;
};

} // namespace orv::platform
