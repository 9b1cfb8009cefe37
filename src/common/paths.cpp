#include "common/paths.h"

#include "common/text.h"

namespace orv {

std::string FolderPart(std::string_view path) {
    const std::string_view trimmed = TrimSpaces(path);
    const auto last = trimmed.rfind('\\');
    if (last == std::string_view::npos) return {};
    return std::string(trimmed.substr(0, last + 1));
}

std::string WithTrailingBackslash(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != '\\') out += '\\';
    return out;
}

bool IsPlaylistName(std::string_view name) {
    const std::string_view trimmed = TrimSpaces(name);
    return CharCount(trimmed) > 4 && EndsWithNoCase(trimmed, ".m3u");
}

} // namespace orv
