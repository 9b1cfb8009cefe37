// The platform's open-file dialog and folder browser. Both block until the
// user closes them; a cancelled or failed dialog gives nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::platform {

struct FileFilter {
    std::string description; // "MPEG Layer-III (*.mp3)"
    std::string pattern;     // "*.mp3"
};

struct FileTypes {
    std::vector<FileFilter> filters; // in the order offered
    std::size_t preselected = 0;     // index into filters
    std::string defaultExtension;    // added to a typed name without one
};

class Pickers {
  public:
    virtual ~Pickers() = default;
    // The chosen file's full path: an existing file, or a new name that the
    // user agreed to create when the dialog asked.
    virtual std::optional<std::string> PickFile(std::intptr_t owner, const std::string& title,
                                                const FileTypes& types,
                                                const std::string& startFolder) = 0;
    // The chosen folder's file-system path, browsing from the desktop.
    virtual std::optional<std::string> PickFolder(std::intptr_t owner,
                                                  const std::string& title) = 0;
};

} // namespace orv::platform
