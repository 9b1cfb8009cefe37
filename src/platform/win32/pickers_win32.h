// The open-file dialog and the shell's folder browser, filled from the
// picker classes' records. Nothing escapes: a failure is "no choice".
#pragma once
#include "platform/pickers.h"

namespace orv::win32 {

class Win32Pickers : public platform::Pickers {
  public:
    std::optional<std::string> OpenFile(const platform::OpenFileRequest& request) override;
    std::optional<std::string> BrowseFolder(const platform::BrowseFolderRequest& request) override;
};

} // namespace orv::win32
