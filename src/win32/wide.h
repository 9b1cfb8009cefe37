// UTF-8 (the core's text) to UTF-16 (the W functions) and back, and text of
// another code page to UTF-16.
#pragma once
#include <string>
#include <string_view>

namespace orv::win32 {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);
std::wstring WideFromCodePage(std::string_view text, unsigned codePage);

} // namespace orv::win32
