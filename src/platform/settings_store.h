// Per-user settings addressed by application, section and key; text values.
// A section is opened once for all the values read or written together.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "common/errors.h"

namespace orv::platform {

class SettingsSection {
  public:
    virtual ~SettingsSection() = default;
    // The stored text when the value exists (empty stays empty), otherwise
    // `fallback`.
    virtual std::string Read(const std::string& key, const std::string& fallback) const = 0;
    // Stores the text. Nothing on success; the platform's reason when it
    // refuses the write (or could not open the section for writing).
    virtual std::optional<RuntimeError> Write(const std::string& key, const std::string& value) = 0;
};

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The section of the application. Opened for reading it never fails and
    // creates nothing (a missing section reads every value as missing); for
    // writing it is created as needed. Never nullptr.
    virtual std::unique_ptr<SettingsSection> Open(const std::string& app,
                                                  const std::string& section, bool forWriting) = 0;
};

} // namespace orv::platform
