#include "audio/mod_strings.h"

#include "common/text.h"

namespace orv {

std::string ExtractPath(std::string_view strFile) {
    const std::string_view trimmed = TrimSpaces(strFile);
    const auto last = trimmed.rfind('\\');
    if (last == std::string_view::npos) return {};
    return std::string(trimmed.substr(0, last + 1));
}

} // namespace orv
