#include "win32/picture_file.h"

#include <wincodec.h>

#include <exception>
#include <vector>

#include "imaging/image_scale.h"
#include "imaging/orientation.h"
#include "imaging/picture_decoder.h"
#include "win32/file_reader.h"
#include "win32/scratch_file.h"
#include "win32/wic_support.h"

namespace orv::win32 {
namespace {

using imaging::PixelSize;
using wic::CreateFactory;
using wic::Frame;
using wic::OpenFirstFrame;
using wic::ReadableSource;

// JPEG and BMP, drawn by our own decoders from the open file.
class OwnDecoderPicture : public PictureFile {
  public:
    OwnDecoderPicture(std::unique_ptr<FileReader> file, const imaging::PictureInfo& info)
        : file_(std::move(file)), info_(info) {}

    SIZE NaturalSize() const override { return {info_.upright.width, info_.upright.height}; }

    bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) override {
        // Each row's colours are converted as it is drawn, while the rows
        // still to come are decoded.
        const imaging::ColorGrid colors = ColorConversionFor(info_.iccProfile, destination_);
        imaging::RowFilter convert;
        if (colors) convert = [&colors](std::uint8_t* row, int n) { colors.ApplyToRow(row, n); };
        return imaging::DecodePicture(file_->Reader(), info_, width, height, dest, stride,
                                      PictureBudget(), convert);
    }

  private:
    std::unique_ptr<FileReader> file_;
    imaging::PictureInfo info_;
};

// Everything else, through WIC; turned upright by `orientation` (from a
// CMYK JPEG's EXIF block; 1 for the other formats).
class WicPicture : public PictureFile {
  public:
    WicPicture(std::wstring path, Frame frame, int orientation, std::vector<std::uint8_t> profile)
        : path_(std::move(path)), stored_{static_cast<int>(frame.width),
                                          static_cast<int>(frame.height)},
          orientation_(orientation), profile_(std::move(profile)), frame_(std::move(frame)) {}

    SIZE NaturalSize() const override {
        const PixelSize upright = imaging::UprightSize(stored_, orientation_);
        return {upright.width, upright.height};
    }

    bool RenderInto(int width, int height, std::uint8_t* dest, std::size_t stride) override {
        // The system decodes in the stored orientation; its result is turned.
        if (!imaging::SystemDecodeFits(stored_,
                                       imaging::UprightSize({width, height}, orientation_)))
            return false;
        const auto drawStored = [this](PixelSize box, std::uint8_t* pixels, std::size_t rows) {
            return DrawStored(box, pixels, rows);
        };
        return imaging::DrawUpright(orientation_, width, height, dest, stride, drawStored) &&
               ConvertColors(profile_, destination_, dest, width, height, stride);
    }

  private:
    bool DrawStored(PixelSize box, std::uint8_t* dest, std::size_t stride) {
        // The decoder goes when this call ends, and with it any full-size
        // pixels it keeps; a later call opens the file anew.
        const com_ptr<IWICImagingFactory> factory = CreateFactory();
        if (!factory) return false;
        Frame frame = frame_.frame ? std::move(frame_) : OpenFirstFrame(*factory, path_);
        if (!frame.frame) return false;

        imaging::ScaleSource source;
        const com_ptr<IWICBitmapSource> pixels =
            ReadableSource(*factory, frame.frame.get(), source.bytesPerPixel);
        if (!pixels) return false;
        source.width = static_cast<int>(frame.width);
        source.height = static_cast<int>(frame.height);
        source.readRows = [&pixels, &source](int first, int count, std::uint8_t* rows,
                                             std::size_t rowStride) {
            const WICRect rect{0, first, source.width, count};
            return SUCCEEDED(pixels->CopyPixels(&rect, static_cast<UINT>(rowStride),
                                                static_cast<UINT>(rowStride * count), rows));
        };
        return imaging::ScaleImage(source, box.width, box.height, dest, stride);
    }

    std::wstring path_;
    PixelSize stored_;
    int orientation_;
    std::vector<std::uint8_t> profile_; // as WIC reports it, checked
    Frame frame_;
};

} // namespace

ScaledBitmap PictureFile::Render(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    ScaledBitmap out;
    out.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!out.bitmap || !bits) return {};
    try {
        if (!RenderInto(width, height, static_cast<std::uint8_t*>(bits),
                        static_cast<std::size_t>(width) * 4))
            return {};
    } catch (const std::exception&) {
        return {};
    }
    out.width = width;
    out.height = height;
    return out;
}

std::unique_ptr<PictureFile> PictureFile::Open(const std::wstring& path,
                                               const std::atomic<bool>* cancelled) {
    try {
        std::unique_ptr<FileReader> file = FileReader::Open(path, cancelled);
        if (!file) return nullptr;
        const auto info = imaging::InspectPicture(file->Reader());
        if (!info) return nullptr;
        if (info->decoder != imaging::Decoder::System)
            return std::make_unique<OwnDecoderPicture>(std::move(file), *info);

        const com_ptr<IWICImagingFactory> factory = CreateFactory();
        if (!factory) return nullptr;
        Frame frame = OpenFirstFrame(*factory, *file, path);
        if (!frame.frame) return nullptr;
        // A picture whose whole pixels exceed the budget even for a box of
        // one pixel is refused before the system decodes anything.
        if (!imaging::SystemDecodeFits(
                {static_cast<int>(frame.width), static_cast<int>(frame.height)}, {1, 1}))
            return nullptr;
        std::vector<std::uint8_t> profile = WicFrameProfile(*factory, *frame.frame);
        return std::make_unique<WicPicture>(path, std::move(frame), info->orientation,
                                            std::move(profile));
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace orv::win32
