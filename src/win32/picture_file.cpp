// Picture files: JPEG in colour or grey through libjpeg-turbo, which shrinks
// while decoding; everything else (GIF, BMP, CMYK JPEG) through WIC. A file
// is read once for its size; Render pulls its pixels in bands (through WIC's
// own downscaling where a decoder offers it) into the area-averaging scaler
// and drops the file's data afterwards, so only the screen-sized copy
// outlives the call. Transparent pixels end up black.
#include "win32/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

#include "imaging/image_scale.h"
#include "imaging/jpeg_decoder.h"
#include "win32/file_system.h"
#include "win32/wic_support.h"

// The decoder's scale-while-decoding interface; MinGW's wincodec.h lacks it.
// Method order as Windows declares it.
#ifndef __IWICBitmapSourceTransform_INTERFACE_DEFINED__
struct IWICBitmapSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT bufferSize, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};
#endif

namespace orv::win32 {
namespace {

using wic::Convert;
using wic::CreateFactory;
using wic::Frame;
using wic::OpenFirstFrame;
using wic::Out;
using wic::ReadableSource;
using wic::SameFormat;

constexpr IID kIidSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

// Where the decoder can shrink while decoding (JPEG on Windows), the
// smallest of its sizes that still covers the target in both directions.
struct Shrunk {
    com_ptr<IWICBitmapSourceTransform> transform;
    UINT width = 0;
    UINT height = 0;
    WICPixelFormatGUID format{};
};

Shrunk DecoderShrink(IWICBitmapFrameDecode& frame, UINT width, UINT height, int targetWidth,
                     int targetHeight) {
    Shrunk s;
    if (FAILED(frame.QueryInterface(
            kIidSourceTransform,
            reinterpret_cast<void**>(static_cast<IWICBitmapSourceTransform**>(Out(s.transform))))))
        return {};
    s.format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(s.transform->GetClosestPixelFormat(&s.format)) ||
        !(SameFormat(s.format, GUID_WICPixelFormat24bppBGR) ||
          SameFormat(s.format, GUID_WICPixelFormat32bppBGR)))
        return {};
    for (UINT divisor : {8u, 4u, 2u}) {
        UINT w = (width + divisor - 1) / divisor, h = (height + divisor - 1) / divisor;
        if (FAILED(s.transform->GetClosestSize(&w, &h))) return {};
        if (w >= static_cast<UINT>(targetWidth) && h >= static_cast<UINT>(targetHeight) &&
            w < width && h < height) {
            s.width = w;
            s.height = h;
            return s;
        }
    }
    return {};
}

// A 32-bit top-down DIB section of width x height whose pixels `fill` writes
// (rows width * 4 bytes apart); empty when either fails.
ScaledBitmap DrawnBitmap(int width, int height,
                         const std::function<bool(std::uint8_t*, std::size_t)>& fill) {
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
    if (!out.bitmap || !bits ||
        !fill(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * 4))
        return {};
    out.width = width;
    out.height = height;
    return out;
}

// A JPEG held as its file's bytes until it is drawn.
class JpegPictureFile : public PictureFile {
  public:
    JpegPictureFile(std::vector<std::uint8_t> bytes, imaging::PixelSize size)
        : bytes_(std::move(bytes)), size_{size.width, size.height} {}

    SIZE NaturalSize() const override { return size_; }

    ScaledBitmap Render(int width, int height) const override {
        if (width <= 0 || height <= 0) return {};
        return DrawnBitmap(width, height, [&](std::uint8_t* pixels, std::size_t stride) {
            return imaging::DecodeJpeg(bytes_, width, height, pixels, stride);
        });
    }

  private:
    // Kept for further renders; the show drops the whole object once the
    // picture is drawn.
    std::vector<std::uint8_t> bytes_;
    SIZE size_;
};

class WicPictureFile : public PictureFile {
  public:
    WicPictureFile(std::wstring path, Frame frame)
        : path_(std::move(path)), size_{static_cast<LONG>(frame.width),
                                        static_cast<LONG>(frame.height)},
          frame_(std::move(frame)) {}

    SIZE NaturalSize() const override { return size_; }

    ScaledBitmap Render(int width, int height) const override {
        if (width <= 0 || height <= 0) return {};
        try {
            // The decoder goes when this call ends, and with it any
            // full-size pixels it keeps; a later call opens the file anew.
            const com_ptr<IWICImagingFactory> factory = CreateFactory();
            if (!factory) return {};
            Frame frame = frame_.frame ? std::move(frame_) : OpenFirstFrame(*factory, path_);
            if (!frame.frame) return {};

            imaging::ScaleSource source;
            com_ptr<IWICBitmapSource> pixels;
            Shrunk shrunk = DecoderShrink(*frame.frame, frame.width, frame.height, width, height);
            if (shrunk.transform) {
                source.width = static_cast<int>(shrunk.width);
                source.height = static_cast<int>(shrunk.height);
                source.bytesPerPixel =
                    SameFormat(shrunk.format, GUID_WICPixelFormat24bppBGR) ? 3 : 4;
                source.readRows = [&shrunk](int first, int count, std::uint8_t* dest,
                                            std::size_t stride) {
                    const WICRect rect{0, first, static_cast<INT>(shrunk.width), count};
                    return SUCCEEDED(shrunk.transform->CopyPixels(
                        &rect, shrunk.width, shrunk.height, &shrunk.format,
                        WICBitmapTransformRotate0, static_cast<UINT>(stride),
                        static_cast<UINT>(stride * count), dest));
                };
            } else {
                pixels = ReadableSource(*factory, frame.frame.get(), source.bytesPerPixel);
                if (!pixels) return {};
                source.width = static_cast<int>(frame.width);
                source.height = static_cast<int>(frame.height);
                source.readRows = [&pixels, &source](int first, int count, std::uint8_t* dest,
                                                     std::size_t stride) {
                    const WICRect rect{0, first, source.width, count};
                    return SUCCEEDED(pixels->CopyPixels(&rect, static_cast<UINT>(stride),
                                                        static_cast<UINT>(stride * count), dest));
                };
            }

            return DrawnBitmap(width, height, [&](std::uint8_t* out, std::size_t stride) {
                return imaging::ScaleImage(source, width, height, out, stride);
            });
        } catch (const std::exception&) {
            return {};
        }
    }

  private:
    std::wstring path_;
    SIZE size_;
    mutable Frame frame_;
};

} // namespace

std::unique_ptr<PictureFile> PictureFile::Open(const std::wstring& path) {
    try {
        if (path.empty()) return nullptr;
        std::optional<std::vector<std::uint8_t>> bytes = ReadFileBytes(path, wic::kMaxBufferedFile);
        if (bytes)
            if (const auto size = imaging::JpegSize(*bytes))
                return std::make_unique<JpegPictureFile>(std::move(*bytes), *size);
        const com_ptr<IWICImagingFactory> factory = CreateFactory();
        if (!factory) return nullptr;
        Frame frame =
            bytes ? OpenFirstFrame(*factory, std::move(*bytes)) : OpenFirstFrame(*factory, path);
        if (!frame.frame) return nullptr;
        return std::make_unique<WicPictureFile>(path, std::move(frame));
    } catch (const std::exception&) {
        return nullptr;
    }
}

} // namespace orv::win32
