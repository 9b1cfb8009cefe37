// The pictures of the show and the wallpaper on Windows: a file opened as
// the core's picture (imaging/picture.h), with WIC as the system's decoder
// and the colour system converting to where the picture is shown, and drawn
// into a DIB section for the screen.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "common/transfer.h"
#include "imaging/picture.h"
#include "platform/pictures.h"
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

// Opens a picture file whose colours are converted for `destination`;
// nullptr when it cannot be read or is refused (not a plain disk file, a
// damaged header, more than the decoding budget allows at any size). Once
// `stop` says stop the file reads as ended, so a decode under way stops soon.
std::unique_ptr<imaging::Picture>
OpenPictureFile(const std::wstring& path, StopSignal stop = {},
                ColorDestination destination = ColorDestination::Screen);

// A picture for the screen.
class PictureFile final : public platform::DrawablePicture {
  public:
    static std::unique_ptr<PictureFile> Open(const std::wstring& path, StopSignal stop = {});
    explicit PictureFile(std::unique_ptr<imaging::Picture> picture)
        : picture_(std::move(picture)) {}

    platform::PictureSize NaturalSize() const override;
    // A ScaledBitmap; nullptr where Draw gives an empty one.
    std::shared_ptr<const platform::Bitmap> Render(int width, int height) override;
    // The picture in a new DIB section; empty on failure or for a size of 0.
    ScaledBitmap Draw(int width, int height);

  private:
    std::unique_ptr<imaging::Picture> picture_;
};

} // namespace orv::win32
