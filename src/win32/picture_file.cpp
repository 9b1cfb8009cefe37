#include "win32/picture_file.h"

#include <wincodec.h>

#include <exception>
#include <vector>

#include "win32/file_reader.h"
#include "win32/scratch_file.h"
#include "win32/wic_support.h"

namespace orv::win32 {
namespace {

// The first frame as WIC decodes it, and its pixels in a format the scaler
// reads.
class WicFrame final : public imaging::SystemFrame {
  public:
    WicFrame(com_ptr<IWICImagingFactory> factory, wic::Frame frame, StopSignal stop)
        : factory_(std::move(factory)), frame_(std::move(frame)), stop_(stop) {}

    imaging::PixelSize Size() const override {
        return {static_cast<int>(frame_.width), static_cast<int>(frame_.height)};
    }
    std::vector<std::uint8_t> Profile() override {
        return WicFrameProfile(*factory_, *frame_.frame);
    }
    std::optional<imaging::ScaleSource> Rows() override {
        imaging::ScaleSource source;
        pixels_ = wic::ReadableSource(*factory_, frame_.frame.get(), source.bytesPerPixel);
        if (!pixels_) return std::nullopt;
        source.width = static_cast<int>(frame_.width);
        source.height = static_cast<int>(frame_.height);
        // WIC reads a big file itself: the rows end once the job stops.
        source.readRows = [this](int first, int count, std::uint8_t* rows, std::size_t stride) {
            const WICRect rect{0, first, static_cast<int>(frame_.width), count};
            return !stop_.Stopped() &&
                   SUCCEEDED(pixels_->CopyPixels(&rect, static_cast<UINT>(stride),
                                                 static_cast<UINT>(stride * count), rows));
        };
        // A thread of the scaler's that reads ahead calls WIC too: it joins
        // the multithreaded apartment of the show's workers.
        source.prepareThread = [] { return std::make_shared<ComApartment>(COINIT_MULTITHREADED); };
        return source;
    }

  private:
    com_ptr<IWICImagingFactory> factory_;
    wic::Frame frame_;
    StopSignal stop_;
    com_ptr<IWICBitmapSource> pixels_;
};

class PictureFileInput final : public imaging::PictureInput {
  public:
    PictureFileInput(std::unique_ptr<FileReader> file, std::wstring path, StopSignal stop)
        : file_(std::move(file)), path_(std::move(path)), stop_(stop) {}

    imaging::ByteReader Bytes() const override { return file_->Reader(); }
    std::unique_ptr<imaging::SystemFrame>
    OpenFrame(std::optional<std::vector<std::uint8_t>> bytes) override {
        com_ptr<IWICImagingFactory> factory = wic::CreateFactory();
        if (!factory) return nullptr;
        wic::Frame frame = bytes ? wic::OpenFirstFrame(*factory, std::move(*bytes))
                                 : wic::OpenFirstFrame(*factory, path_);
        if (!frame.frame) return nullptr;
        return std::make_unique<WicFrame>(std::move(factory), std::move(frame), stop_);
    }

  private:
    std::unique_ptr<FileReader> file_;
    std::wstring path_;
    StopSignal stop_;
};

} // namespace

std::unique_ptr<imaging::Picture> OpenPictureFile(const std::wstring& path, StopSignal stop,
                                                  ColorDestination destination) {
    try {
        std::unique_ptr<FileReader> file = FileReader::Open(path, stop);
        if (!file) return nullptr;
        const auto convert = [destination](std::span<const std::uint8_t> profile) {
            return SystemColorConversion(profile, destination);
        };
        return imaging::OpenPicture(std::make_unique<PictureFileInput>(std::move(file), path, stop),
                                    convert, PictureBudget());
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<PictureFile> PictureFile::Open(const std::wstring& path, StopSignal stop) {
    std::unique_ptr<imaging::Picture> picture = OpenPictureFile(path, stop);
    return picture ? std::make_unique<PictureFile>(std::move(picture)) : nullptr;
}

platform::PictureSize PictureFile::NaturalSize() const {
    const imaging::PixelSize size = picture_->NaturalSize();
    return {static_cast<double>(size.width), static_cast<double>(size.height)};
}

std::shared_ptr<const platform::Bitmap> PictureFile::Render(int width, int height) {
    auto bitmap = std::make_shared<ScaledBitmap>(Draw(width, height));
    if (!*bitmap) return nullptr;
    return bitmap;
}

ScaledBitmap PictureFile::Draw(int width, int height) {
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
        if (!picture_->RenderInto(width, height, static_cast<std::uint8_t*>(bits),
                                  static_cast<std::size_t>(width) * 4))
            return {};
    } catch (const std::exception&) {
        return {};
    }
    out.width = width;
    out.height = height;
    return out;
}

} // namespace orv::win32
