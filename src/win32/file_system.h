// Directory listings, look-ups and files read in pieces through the W
// functions; the rules they follow are FileLookups'.
#pragma once
#include <optional>
#include <string>

#include "platform/file_lookups.h"

namespace orv::win32 {

class Win32FileSystem : public FileLookups {
  public:
    platform::OpenedFile OpenForReading(const std::string& path) override;
    std::string AnsiToUtf8(std::string_view text) override;

  protected:
    std::optional<EntryAttributes> AttributesOf(const std::string& path) override;
    void Search(const std::string& pattern, bool listing, const Found& found) override;
    bool OpensAsDiskFile(const std::string& path) override;
};

} // namespace orv::win32
