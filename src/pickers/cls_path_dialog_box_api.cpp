#include "pickers/cls_path_dialog_box_api.h"

#include "common/app_title.h"
#include "pickers/cls_comon_dialog_box_api.h"

namespace orv {

std::string clsPathDialogBoxAPI::SelectPath(std::intptr_t hWnd) {
    return Browse(hWnd, 0, std::string(kAppTitle) + " - Select Path");
}

std::string clsPathDialogBoxAPI::Browse(std::intptr_t hWnd, std::uint32_t flags,
                                        const std::string& title) {
    std::string result;
    try {
        bi_ = {};
        bi_.owner = hWnd;
        bi_.root = root_;
        bi_.displayNameChars = 260;
        bi_.title = title;
        bi_.flags = flags;
        if (auto chosen = pickers_.BrowseFolder(bi_)) {
            // The path ends at its NUL; a buffer without one gives nothing.
            if (chosen->find('\0') != std::string::npos) result = CutAtNul(*chosen);
        }
    } catch (...) {
        result.clear();
    }
    return result;
}

} // namespace orv
