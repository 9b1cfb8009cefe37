// A picture file opened for drawing: opened once, its upright size read, and
// then decoded straight to the size at which it is drawn, so no
// full-resolution copy of a large photo is kept. JPEG and BMP go through our
// own decoders (picture_decoder.h), which read the file as they need it;
// everything else through the system's decoder, whose result is turned
// upright by the JPEG's orientation where it has one. The Windows picture
// loader supplies the file, the system's decoder and the colour conversion.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/color_grid.h"
#include "imaging/image_scale.h"
#include "imaging/picture_decoder.h"

namespace orv::imaging {

// The first frame of a file as the system's decoder has opened it. What it
// holds of the picture goes with it.
class SystemFrame {
  public:
    virtual ~SystemFrame() = default;
    // The stored size in pixels; neither is 0.
    virtual PixelSize Size() const = 0;
    // Its embedded colour profile when the conversion can use it; empty
    // otherwise.
    virtual std::vector<std::uint8_t> Profile() = 0;
    // Its rows for the scaler, valid while the frame lives; nothing when they
    // cannot be read.
    virtual std::optional<ScaleSource> Rows() = 0;
};

// A picture file open for reading.
class PictureInput {
  public:
    virtual ~PictureInput() = default;
    // Its bytes; valid while this object lives.
    virtual ByteReader Bytes() const = 0;
    // The system decoder's first frame of the file, opened anew each time:
    // from `bytes`, the whole file read into memory, when given, else read
    // by the decoder itself; nullptr when the system cannot open the file as
    // a picture.
    virtual std::unique_ptr<SystemFrame>
    OpenFrame(std::optional<std::vector<std::uint8_t>> bytes) = 0;
};

// Files up to this size are read whole and decoded from memory: decoders
// read their input in small pieces, and on some systems each piece read
// from a file costs a system call (a large GIF decodes a third faster).
// Larger files (uncompressed bitmaps, mostly) are read in big pieces anyway.
inline constexpr std::size_t kMaxBufferedFile = 64 * 1024 * 1024;

// The conversion of a picture's drawn pixels from its colour profile (empty
// for an untagged picture) to where they are shown; an empty grid leaves
// them as they are. Each row is converted as it is drawn.
using ColorConversionFor = std::function<ColorGrid(std::span<const std::uint8_t> profile)>;

class Picture {
  public:
    virtual ~Picture() = default;
    // The upright size in pixels.
    virtual PixelSize NaturalSize() const = 0;
    // Draws the picture upright, scaled with good quality to exactly width x
    // height, into `dest` as 4-byte pixels (B, G, R, 255), rows `stride`
    // bytes apart, its colours converted. False on failure or over the
    // budget.
    virtual bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) = 0;
};

// What making a scratch file of a name gave: the file, or else whether the
// name was taken already.
struct NewScratchFile {
    std::unique_ptr<ScratchFile> file;
    bool nameTaken = false;
};

// Makes a new scratch file for the decoders in `folder` (which ends in a
// backslash) through `create`, named Orvandel-<process>-<n>.tmp with n
// counting up through the process; a name taken already is passed over, up
// to eight names. Nothing when `create` fails otherwise or all are taken.
std::unique_ptr<ScratchFile>
MakeScratchFile(const std::string& folder, unsigned long process,
                const std::function<NewScratchFile(const std::string& path)>& create);

// Opens the picture in `file`; nullptr when it is refused: a damaged header,
// a file the system's decoder cannot open either, more pixels than the
// budget allows at any size. Never throws.
std::unique_ptr<Picture> OpenPicture(std::unique_ptr<PictureInput> file, ColorConversionFor convert,
                                     DecodeBudget budget) noexcept;

} // namespace orv::imaging
