// The open-file dialog and the shell's folder browser. The records handed to
// them are built here: an empty file-name box of 1026 characters, long
// names, no link dereferencing, the explorer look and a prompt before a new
// name; the browser starts at the desktop with a display
// name buffer of MAX_PATH characters. Nothing escapes: a failure is "no
// choice".
#pragma once
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/pickers.h"

namespace orv::win32 {

// An OPENFILENAMEW with the buffers it points into.
struct OpenFileRecord {
    std::wstring filter, file, startFolder, title, defaultExtension;
    OPENFILENAMEW ofn{};
};
std::unique_ptr<OpenFileRecord> MakeOpenFileRecord(std::intptr_t owner, const std::string& title,
                                                   const platform::FileTypes& types,
                                                   const std::string& startFolder);

// A BROWSEINFOW with the buffers it points into.
struct BrowseRecord {
    std::wstring displayName, title;
    BROWSEINFOW info{};
};
std::unique_ptr<BrowseRecord> MakeBrowseRecord(std::intptr_t owner, const std::string& title);

class Win32Pickers : public platform::Pickers {
  public:
    std::optional<std::string> PickFile(std::intptr_t owner, const std::string& title,
                                        const platform::FileTypes& types,
                                        const std::string& startFolder) override;
    std::optional<std::string> PickFolder(std::intptr_t owner, const std::string& title) override;
};

} // namespace orv::win32
