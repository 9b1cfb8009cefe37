// Picture decoding for the show and the wallpaper: a picture file is opened
// once, its upright size read, and then decoded straight to the size at
// which it is drawn, so no full-resolution copy of a large photo is kept.
// JPEG and BMP go through our own decoders (imaging/picture_decoder.h),
// which read the file as they need it; everything else through WIC, whose
// result is turned upright by the JPEG's orientation where it has one.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/show_jobs.h"
#include "win32/color_transform.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

// A 32-bit top-down DIB section of exactly width x height pixels.
struct ScaledBitmap : platform::Bitmap {
    unique_hbitmap bitmap;
    int width = 0;
    int height = 0;
    explicit operator bool() const { return static_cast<bool>(bitmap); }
};

class PictureFile {
  public:
    virtual ~PictureFile() = default;
    // Opens a picture file; nullptr when it cannot be read or is refused
    // (not a plain disk file, a damaged header, more than the decoding
    // budget allows at any size). Once `cancelled` is set the file reads as
    // ended, so a decode under way stops soon.
    static std::unique_ptr<PictureFile> Open(const std::wstring& path,
                                             const std::atomic<bool>* cancelled = nullptr);
    // The upright size in pixels.
    virtual SIZE NaturalSize() const = 0;
    // Draws the picture upright, scaled with good quality to exactly width x
    // height, into `dest` as 4-byte pixels (B, G, R, 255), rows `stride`
    // bytes apart. False on failure or over the budget.
    virtual bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) = 0;
    // The same into a new DIB section; empty on failure or for a size of 0.
    ScaledBitmap Render(int width, int height);
    // Where later renderings are shown (the screen unless told otherwise):
    // a picture with an embedded colour profile is converted to it.
    void SetColorDestination(ColorDestination destination) { destination_ = destination; }

  protected:
    ColorDestination destination_ = ColorDestination::Screen;
};

} // namespace orv::win32
