// Directory listings, file look-ups and reading text files.
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"

namespace orv::platform {

// A file read in pieces from its start.
class ByteStream {
  public:
    virtual ~ByteStream() = default;
    // Copies up to `count` bytes into `dest`; 0 at the end (or on an error).
    virtual std::size_t Read(char* dest, std::size_t count) = 0;
};

// A file opened for reading, or why it could not be.
struct OpenedFile {
    std::unique_ptr<ByteStream> stream; // null when it could not be opened
    std::optional<RuntimeError> error;  // then the reason
};

enum class LookupFilter {
    FoldersAndFiles, // folders and ordinary files (neither hidden nor system)
    FilesOnly,       // ordinary files only
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Names (not paths) of the plain files in `folder` (which ends in a
    // backslash), in the platform's listing order: read-only files included,
    // folders, hidden and system files left out. A folder that cannot be
    // listed gives an empty list.
    virtual std::vector<std::string> ListFiles(const std::string& folder) = 0;
    // True when a normal file of exactly this name exists: not a folder, not
    // hidden, not system. Names with wildcards or that cannot be searched
    // count as missing.
    virtual bool NormalFileExists(const std::string& path) = 0;
    // True when the name is a normal file (as above) that is also a plain
    // file on a disk: not a pipe, a device or anything else that reads
    // without end. It may have to open the file, which for such a thing can
    // take long: it is asked off the user-interface thread.
    virtual bool PlainDiskFileExists(const std::string& path) = 0;
    // True when the path, whose last part may hold * and ?, matches an entry
    // that the filter admits. A trailing backslash names the folder itself.
    virtual bool Lookup(const std::string& pattern, LookupFilter filter) = 0;
    // Opens a plain disk file for reading; when it cannot be opened (file or
    // path not found, bad file name, permission denied, a device), the
    // run-time error that says why instead.
    virtual OpenedFile OpenForReading(const std::string& path) = 0;
    // Text in the platform's 8-bit code page, as UTF-8.
    virtual std::string AnsiToUtf8(std::string_view text) = 0;
};

} // namespace orv::platform
