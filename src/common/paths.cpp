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

std::string ContainingFolder(std::string_view file) {
    const auto slash = file.rfind('\\');
    if (slash == std::string_view::npos) return {};
    const bool driveRoot = slash > 0 && file[slash - 1] == ':';
    return std::string(file.substr(0, driveRoot ? slash + 1 : slash));
}

bool HasWildcard(std::string_view path) {
    return path.find_first_of("*?") != std::string_view::npos;
}

std::string_view EntryPath(std::string_view path) {
    if (CharCount(path) > 3 && path.back() == '\\') path.remove_suffix(1);
    return path;
}

} // namespace orv
