// The platform's open-file dialog and folder browser, described by plain
// records that the picker classes fill. Both block until the user closes them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv::platform {

struct OpenFileRequest {
    std::intptr_t owner = 0;
    // (description, pattern) pairs, in the order offered.
    std::vector<std::pair<std::string, std::string>> filters;
    int filterIndex = 0; // 1-based, the preselected pair
    // Initial contents of the file-name buffer and its size in characters;
    // the dialog shows the text up to the first NUL as the initial name.
    std::string fileBuffer;
    std::size_t fileBufferChars = 0;
    std::string fileTitleBuffer;
    std::size_t fileTitleChars = 0;
    std::string initialFolder;
    std::string title;
    std::uint32_t flags = 0;
    std::string defaultExtension;
};

struct BrowseFolderRequest {
    std::intptr_t owner = 0;
    std::intptr_t root = 0; // 0: the top of the shell's namespace
    std::size_t displayNameChars = 0;
    std::string title;
    std::uint32_t flags = 0;
};

class Pickers {
  public:
    virtual ~Pickers() = default;
    // The file-name buffer as the dialog left it when a file was chosen
    // (its path followed by a NUL); nothing when cancelled or failed.
    virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
    // The path buffer of the chosen folder (followed by a NUL); nothing when
    // cancelled or when the choice has no file-system path.
    virtual std::optional<std::string> BrowseFolder(const BrowseFolderRequest& request) = 0;
};

} // namespace orv::platform
