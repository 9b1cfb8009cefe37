#include "pickers/folder_picker.h"

#include "common/app_title.h"

namespace orv::pickers {

std::string PickPicturesFolder(platform::Pickers& pickers, std::intptr_t owner) {
    return pickers.PickFolder(owner, std::string(kAppTitle) + " - Select Path").value_or("");
}

} // namespace orv::pickers
