#include "audio/music_file.h"

#include <string>

#include "common/text.h"

namespace orv::audio {
namespace {

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool IsReservedName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (upper == device) return true;
    if (upper.size() < 4 || (upper.compare(0, 3, "COM") != 0 && upper.compare(0, 3, "LPT") != 0))
        return false;
    const std::string_view digit = std::string_view(upper).substr(3);
    // COM0-9 and LPT0-9, and the superscript one, two and three that the
    // system counts as digits there.
    if (digit.size() == 1) return digit[0] >= '0' && digit[0] <= '9';
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
}

} // namespace

bool IsDeviceName(std::string_view path) {
    std::string_view rest = path;
    // \\.\ names a device; \\?\ is the plain file namespace only before a
    // drive or a share.
    if (StartsWith(rest, "\\\\.\\") || StartsWith(rest, "//./")) return true;
    if (StartsWith(rest, "\\\\?\\")) {
        rest.remove_prefix(4);
        const bool drive = rest.size() >= 3 && rest[1] == ':' && rest[2] == '\\';
        if (!drive && LowerAscii(rest.substr(0, 4)) != "unc\\") return true;
    }
    const std::size_t slash = rest.find_last_of("\\/");
    if (slash != std::string_view::npos) rest.remove_prefix(slash + 1);
    if (rest.size() >= 2 && rest[1] == ':') rest.remove_prefix(2); // C:COM1
    // The system drops the extension, a stream and blanks before them.
    rest = rest.substr(0, rest.find_first_of(".:"));
    while (!rest.empty() && rest.back() == ' ')
        rest.remove_suffix(1);
    return IsReservedName(rest);
}

bool IsMusicFileName(std::string_view path) {
    const std::string last = LowerAscii(LastChars(path, 4));
    return (last == ".mp3" || last == ".wav" || last == ".mid") && !IsDeviceName(path);
}

} // namespace orv::audio
