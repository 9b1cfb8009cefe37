#include "slideshow/picture_list.h"

#include "common/paths.h"
#include "common/text.h"

namespace orv::slideshow {

bool IsPictureName(std::string_view name) {
    if (CharCount(name) <= 4) return false;
    const std::string last = LowerAscii(LastChars(name, 4));
    // "jpeg" without a dot: any name ending in those four letters counts.
    return last == ".jpg" || last == ".gif" || last == ".bmp" || last == "jpeg";
}

bool LoadPictureList(platform::FileSystem& files, std::string_view folder,
                     std::vector<std::string>& pictures) {
    pictures.assign(1, std::string());
    const std::string prefix = WithTrailingBackslash(folder);
    for (const std::string& name : files.ListFiles(prefix)) {
        if (name.empty()) break;
        if (IsPictureName(name)) pictures.push_back(prefix + name);
    }
    return pictures.size() > 1;
}

} // namespace orv::slideshow
