// Directory listings, look-ups and files read in pieces through the W
// functions.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orv::win32 {

class Win32FileSystem : public platform::FileSystem {
  public:
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool NormalFileExists(const std::string& path) override;
    bool PlainDiskFileExists(const std::string& path) override;
    bool Lookup(const std::string& pattern, platform::LookupFilter filter) override;
    std::unique_ptr<platform::ByteStream> OpenForReading(const std::string& path) override;
    std::string AnsiToUtf8(std::string_view text) override;
};

} // namespace orv::win32
