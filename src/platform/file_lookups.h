// The file system's look-up rules (platform/file_system.h) over the system's
// bare searches: what a listing leaves out, what counts as a normal file,
// what a filter admits, which names are searched and which only looked up.
// The Windows file system derives from it and gives the searches; a file
// read in order through reads at an offset is here too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace orv {

// What the system says of a directory entry.
struct EntryAttributes {
    bool folder = false;
    bool hidden = false;
    bool system = false;
};

class FileLookups : public platform::FileSystem {
  public:
    std::vector<std::string> ListFiles(const std::string& folder) override;
    bool NormalFileExists(const std::string& path) override;
    bool PlainDiskFileExists(const std::string& path) override;
    bool Lookup(const std::string& pattern, platform::LookupFilter filter) override;

  protected:
    // Called with an entry's name and attributes; false stops the search.
    using Found = std::function<bool(const std::string& name, EntryAttributes attributes)>;
    // The attributes of the entry of exactly this name; nothing when there
    // is none or the name cannot be looked up.
    virtual std::optional<EntryAttributes> AttributesOf(const std::string& path) = 0;
    // Each entry that `pattern` (whose last part may hold * and ?) matches,
    // until `found` says stop. A `listing` reads a whole folder, which is
    // worth the system's fastest way.
    virtual void Search(const std::string& pattern, bool listing, const Found& found) = 0;
    // Whether the file opens and is a plain file on a disk.
    virtual bool OpensAsDiskFile(const std::string& path) = 0;
};

// A file read from its start, in order.
class OffsetStream final : public platform::ByteStream {
  public:
    // Reads up to `count` bytes at `offset`; fewer only at the end or on an
    // error.
    using ReadAt =
        std::function<std::size_t(std::uint64_t offset, std::uint8_t* dest, std::size_t count)>;
    explicit OffsetStream(ReadAt read) : read_(std::move(read)) {}
    std::size_t Read(char* dest, std::size_t count) override;

  private:
    ReadAt read_;
    std::uint64_t at_ = 0;
};

} // namespace orv
