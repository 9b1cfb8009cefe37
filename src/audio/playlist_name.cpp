#include "audio/playlist_name.h"

#include "common/text.h"

namespace orv {

bool IsPlayListFile(std::string_view strFile) {
    const std::string_view name = TrimSpaces(strFile);
    return CharCount(name) > 4 && EndsWithNoCase(name, ".m3u");
}

} // namespace orv
