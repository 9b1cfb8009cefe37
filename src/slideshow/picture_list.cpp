#include "slideshow/picture_list.h"

#include "common/runtime_error.h"
#include "common/text.h"

namespace orv::slideshow {

bool IsPictureName(std::string_view name) {
    if (CharCount(name) <= 4) return false;
    const std::string last = LowerAscii(LastChars(name, 4));
    // "jpeg" without a dot: any name ending in those four letters counts.
    return last == ".jpg" || last == ".gif" || last == ".bmp" || last == "jpeg";
}

bool LoadPictureList(platform::FileSystem& files, std::string_view folder,
                     std::vector<std::string>& strPictures) {
    strPictures.assign(1, std::string());
    const std::string prefix = WithTrailingBackslash(folder);
    std::vector<std::string> names;
    try {
        names = files.ListFiles(prefix);
    } catch (const RuntimeError&) {
        // An unreadable folder is an empty one.
    }
    for (const std::string& name : names) {
        if (name.empty()) break;
        if (IsPictureName(name)) strPictures.push_back(prefix + name);
    }
    return strPictures.size() > 1;
}

} // namespace orv::slideshow
