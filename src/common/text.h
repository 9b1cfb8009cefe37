// Small text helpers on UTF-8 strings. Rules that count characters count
// Unicode code points, not bytes.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace orv {

std::size_t CharCount(std::string_view utf8);
// The last n characters (the whole text when it is shorter).
std::string_view LastChars(std::string_view utf8, std::size_t n);
// The text without its first n characters.
std::string_view DropChars(std::string_view utf8, std::size_t n);
// Lower-cases the ASCII letters; other characters are kept.
std::string LowerAscii(std::string_view text);
// Removes space characters (only) at both ends.
std::string_view TrimSpaces(std::string_view text);
// True when the text's last characters, ASCII letters lower-cased, equal
// `lowerSuffix`. Length rules (e.g. "longer than four") are the caller's.
bool EndsWithNoCase(std::string_view utf8, std::string_view lowerSuffix);

// The text with a line feed after each lone carriage return, so that every
// line break is one a drawn label starts a new line at.
std::string WithLineFeeds(std::string_view text);

// The text of a buffer a system call filled, up to its first NUL; nothing
// when it holds none (the buffer was too small).
std::optional<std::string> TextBeforeNul(std::string_view buffer);

} // namespace orv
