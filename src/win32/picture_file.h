// Picture decoding for the show: a picture file is opened once, its natural
// size read, and then decoded straight to the size at which it is drawn, so
// no full-resolution copy of a large photo is kept.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "win32/unique_handle.h"

namespace orv::win32 {

// A 32-bit top-down DIB section of exactly width x height pixels.
struct ScaledBitmap {
    unique_hbitmap bitmap;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return static_cast<bool>(bitmap); }
};

class PictureFile {
  public:
    virtual ~PictureFile() = default;
    // Opens a BMP, GIF or JPEG file; nullptr when it cannot be read.
    static std::unique_ptr<PictureFile> Open(const std::wstring& path);
    // Natural size in pixels.
    virtual SIZE NaturalSize() const = 0;
    // The picture scaled with good quality to exactly width x height pixels
    // (using the decoder's own downscaling where it offers it). Empty on
    // failure or for a size of 0.
    virtual ScaledBitmap Render(int width, int height) const = 0;
};

} // namespace orv::win32
