// clsPathDialogBoxAPI: the picture-folder picker. Shows the shell's folder
// browser from the desktop and returns the chosen folder's path, or the
// empty text. The settings dialog holds one instance.
#pragma once
#include <cstdint>
#include <string>

#include "platform/pickers.h"

namespace orv {

class clsPathDialogBoxAPI {
  public:
    explicit clsPathDialogBoxAPI(platform::Pickers& pickers) : pickers_(pickers) {}

    std::string SelectPath(std::intptr_t hWnd);

    const platform::BrowseFolderRequest& Record() const { return bi_; }

  private:
    std::string Browse(std::intptr_t hWnd, std::uint32_t flags, const std::string& title);

    platform::Pickers& pickers_;
    std::intptr_t root_ = 0; // never set: the browser starts at the desktop
    platform::BrowseFolderRequest bi_;
};

} // namespace orv
