// The wallpaper bitmap: the picture on show decoded afresh, upright, through
// the same decoders and budget as the show, at its own size or the largest
// within the budget, and written as a Windows bitmap that replaces the old
// file only once it is complete.
#pragma once
#include <cstddef>
#include <string>

namespace orv::win32 {

// Bytes the written picture's pixels may take while it is drawn (4 a pixel).
inline constexpr std::size_t kMaxWallpaperBytes = std::size_t{64} * 1024 * 1024;

// Decodes `source` and writes it to `bmpPath` as a Windows bitmap. False when
// either step fails; the old file is then kept.
bool SaveAsWindowsBitmap(const std::wstring& source, const std::wstring& bmpPath);

} // namespace orv::win32
