#include "imaging/picture.h"

#include <atomic>
#include <exception>
#include <utility>

#include "imaging/orientation.h"

namespace orv::imaging {
namespace {

std::unique_ptr<SystemFrame> OpenSystemFrame(PictureInput& file) {
    return file.OpenFrame(ReadWhole(file.Bytes(), kMaxBufferedFile));
}

// Converts each drawn row by `colors` (which must outlive it), while the
// rows still to come are decoded; nothing for an empty grid.
RowFilter ConvertingRows(const ColorGrid& colors) {
    if (!colors) return {};
    return [&colors](std::uint8_t* row, int width, int bytesPerPixel) {
        colors.ApplyToRow(row, width, bytesPerPixel);
    };
}

// JPEG and BMP, drawn by our own decoders from the open file.
class OwnDecoderPicture final : public Picture {
  public:
    OwnDecoderPicture(std::unique_ptr<PictureInput> file, PictureInfo info,
                      ColorConversionFor convert, DecodeBudget budget)
        : file_(std::move(file)), info_(std::move(info)), convert_(std::move(convert)),
          budget_(std::move(budget)) {}

    PixelSize NaturalSize() const override { return info_.upright; }

    bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) override {
        const ColorGrid colors = convert_(info_.iccProfile);
        return DecodePicture(file_->Bytes(), info_, width, height, dest, stride, budget_,
                             ConvertingRows(colors));
    }

  private:
    std::unique_ptr<PictureInput> file_;
    PictureInfo info_;
    ColorConversionFor convert_;
    DecodeBudget budget_;
};

// Everything else, through the system's decoder; turned upright by
// `orientation` (from a CMYK JPEG's EXIF block; 1 for the other formats).
class SystemPicture final : public Picture {
  public:
    SystemPicture(std::unique_ptr<PictureInput> file, std::unique_ptr<SystemFrame> frame,
                  int orientation, ColorConversionFor convert, DecodeBudget budget)
        : file_(std::move(file)), stored_(frame->Size()), orientation_(orientation),
          profile_(frame->Profile()), frame_(std::move(frame)), convert_(std::move(convert)),
          budget_(std::move(budget)) {}

    PixelSize NaturalSize() const override { return UprightSize(stored_, orientation_); }

    bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) override {
        // The system decodes in the stored orientation; its result is turned.
        if (!SystemDecodeFits(stored_, UprightSize({width, height}, orientation_), budget_))
            return false;
        const ColorGrid colors = convert_(profile_);
        const auto drawStored = [&](PixelSize box, std::uint8_t* pixels, std::size_t rows) {
            return DrawStored(box, pixels, rows, ConvertingRows(colors));
        };
        return DrawUpright(orientation_, width, height, dest, stride, drawStored);
    }

  private:
    bool DrawStored(PixelSize box, std::uint8_t* dest, std::size_t stride,
                    const RowFilter& filter) {
        // The frame goes when this call ends, and with it any full-size
        // pixels the system's decoder keeps; a later call opens it anew.
        const std::unique_ptr<SystemFrame> frame =
            frame_ ? std::move(frame_) : OpenSystemFrame(*file_);
        if (!frame) return false;
        const std::optional<ScaleSource> source = frame->Rows();
        return source && ScaleImage(*source, box.width, box.height, dest, stride, 64,
                                    ScaleCode::Fastest, filter);
    }

    std::unique_ptr<PictureInput> file_;
    PixelSize stored_;
    int orientation_;
    std::vector<std::uint8_t> profile_;
    std::unique_ptr<SystemFrame> frame_; // the one opened with the file, until it is drawn
    ColorConversionFor convert_;
    DecodeBudget budget_;
};

} // namespace

std::unique_ptr<ScratchFile>
MakeScratchFile(const std::string& folder, unsigned long process,
                const std::function<NewScratchFile(const std::string& path)>& create) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 8; ++attempt) {
        NewScratchFile made = create(folder + "Orvandel-" + std::to_string(process) + "-" +
                                     std::to_string(counter++) + ".tmp");
        if (made.file || !made.nameTaken) return std::move(made.file);
    }
    return nullptr;
}

std::unique_ptr<Picture> OpenPicture(std::unique_ptr<PictureInput> file, ColorConversionFor convert,
                                     DecodeBudget budget) noexcept {
    try {
        if (!file) return nullptr;
        std::optional<PictureInfo> info = InspectPicture(file->Bytes());
        if (!info) return nullptr;
        if (info->decoder != Decoder::System)
            return std::make_unique<OwnDecoderPicture>(std::move(file), std::move(*info),
                                                       std::move(convert), std::move(budget));
        std::unique_ptr<SystemFrame> frame = OpenSystemFrame(*file);
        if (!frame) return nullptr;
        // A picture whose whole pixels exceed the budget even for a box of
        // one pixel is refused before the system decodes anything.
        if (!SystemDecodeFits(frame->Size(), {1, 1}, budget)) return nullptr;
        return std::make_unique<SystemPicture>(std::move(file), std::move(frame), info->orientation,
                                               std::move(convert), std::move(budget));
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace orv::imaging
