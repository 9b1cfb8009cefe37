// clsComonDialogBoxAPI: the music-file picker. Fills the open-file record
// (four filters, MP3 preselected, the program's folder as start) and returns
// the chosen path or the empty text. The settings dialog holds one instance.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/environment.h"
#include "platform/pickers.h"

namespace orv {

class clsComonDialogBoxAPI {
  public:
    static constexpr std::uint32_t kFlags =
        0x382000; // long names, no link dereference, explorer, create prompt

    clsComonDialogBoxAPI(platform::Pickers& pickers, const platform::Environment& environment)
        : pickers_(pickers), environment_(environment) {}

    // The chosen file's full path, or the empty text when the user cancelled
    // or anything failed.
    std::string SelectFileName(std::intptr_t hWnd);

    // The record of the last call, as it was handed to the platform.
    const platform::OpenFileRequest& Record() const { return ofn_; }

  private:
    platform::Pickers& pickers_;
    const platform::Environment& environment_;
    platform::OpenFileRequest ofn_;
};

// The part of the text before its first NUL, or the whole text.
std::string CutAtNul(std::string_view text);

} // namespace orv
