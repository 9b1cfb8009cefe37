#include "common/text.h"

namespace orv {
namespace {
bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}
} // namespace

std::size_t CharCount(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        if (!IsContinuation(c)) ++n;
    return n;
}

std::string_view LastChars(std::string_view utf8, std::size_t n) {
    std::size_t pos = utf8.size();
    while (n > 0 && pos > 0) {
        --pos;
        if (!IsContinuation(static_cast<unsigned char>(utf8[pos]))) --n;
    }
    return utf8.substr(pos);
}

std::string_view DropChars(std::string_view utf8, std::size_t n) {
    std::size_t pos = 0;
    while (pos < utf8.size() && n > 0) {
        ++pos;
        while (pos < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[pos])))
            ++pos;
        --n;
    }
    return utf8.substr(pos);
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string_view TrimSpaces(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

bool EndsWithNoCase(std::string_view utf8, std::string_view lowerSuffix) {
    return LowerAscii(LastChars(utf8, CharCount(lowerSuffix))) == lowerSuffix;
}

std::string WithLineFeeds(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) out += '\n';
    }
    return out;
}

std::optional<std::string> TextBeforeNul(std::string_view buffer) {
    const auto nul = buffer.find('\0');
    if (nul == std::string_view::npos) return std::nullopt;
    return std::string(buffer.substr(0, nul));
}

} // namespace orv
