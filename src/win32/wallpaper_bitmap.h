// The wallpaper bitmap: a picture file decoded afresh at its natural size and
// written as a Windows bitmap, replacing the old file only whole.
#pragma once
#include <string>

namespace orv::win32 {

// Decodes `source` at its natural size and writes it to `bmpPath` as a
// Windows bitmap. False when either step fails (the old file is then kept).
bool SaveAsWindowsBitmap(const std::wstring& source, const std::wstring& bmpPath);

} // namespace orv::win32
