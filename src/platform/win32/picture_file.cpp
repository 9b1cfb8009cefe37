// Picture files through WIC. A file is opened once for its size; Render pulls
// its pixels in bands (through the decoder's own downscaling when it offers
// it) into the area-averaging scaler and releases the decoder afterwards, so
// only the screen-sized copy outlives the call. Transparent pixels end up
// black. Also writes the wallpaper bitmap, replacing the old one only whole.
#include "platform/win32/picture_file.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <exception>

#include "slideshow/image_scale.h"

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

constexpr IID kIidSourceTransform = {
    0x3b16811b, 0x6a43, 0x4ec9, {0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9, 0x40}};

// Receives a COM out-parameter into a com_ptr, which holds it once the
// statement that made the call has ended (not before).
template <typename T> class Out {
  public:
    explicit Out(com_ptr<T>& target) : target_(target) {}
    ~Out() { target_.reset(raw_); }
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;
    operator T**() { return &raw_; }

  private:
    com_ptr<T>& target_;
    T* raw_ = nullptr;
};

com_ptr<IWICImagingFactory> CreateFactory() {
    com_ptr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(static_cast<IWICImagingFactory**>(Out(factory))));
    return factory;
}

struct Frame {
    com_ptr<IWICBitmapDecoder> decoder;
    com_ptr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
};

// The first frame of the file, or an empty frame when the file cannot be
// opened as a picture or claims no pixels.
Frame OpenFirstFrame(IWICImagingFactory& factory, const std::wstring& path) {
    Frame f;
    if (FAILED(factory.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, Out(f.decoder))))
        return {};
    if (FAILED(f.decoder->GetFrame(0, Out(f.frame)))) return {};
    if (FAILED(f.frame->GetSize(&f.width, &f.height)) || f.width == 0 || f.height == 0) return {};
    return f;
}

bool SameFormat(const WICPixelFormatGUID& a, const WICPixelFormatGUID& b) {
    return IsEqualGUID(a, b) != FALSE;
}

com_ptr<IWICBitmapSource> Convert(IWICImagingFactory& factory, IWICBitmapSource* source,
                                  const WICPixelFormatGUID& format) {
    com_ptr<IWICFormatConverter> converter;
    if (FAILED(factory.CreateFormatConverter(Out(converter)))) return {};
    if (FAILED(converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    return com_ptr<IWICBitmapSource>(converter.release());
}

// Pixels the scaler can read as they are: 24-bit BGR, or 32-bit whose fourth
// byte means nothing (BGR) or has already been applied (premultiplied).
// Anything else goes through premultiplied BGRA, which puts it on black.
com_ptr<IWICBitmapSource> ReadableSource(IWICImagingFactory& factory, IWICBitmapSource* source,
                                         int& bytesPerPixel) {
    WICPixelFormatGUID format{};
    if (FAILED(source->GetPixelFormat(&format))) return {};
    if (SameFormat(format, GUID_WICPixelFormat24bppBGR) ||
        SameFormat(format, GUID_WICPixelFormat32bppBGR) ||
        SameFormat(format, GUID_WICPixelFormat32bppPBGRA)) {
        bytesPerPixel = SameFormat(format, GUID_WICPixelFormat24bppBGR) ? 3 : 4;
        source->AddRef();
        return com_ptr<IWICBitmapSource>(source);
    }
    bytesPerPixel = 4;
    return Convert(factory, source, GUID_WICPixelFormat32bppPBGRA);
}

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

unique_hbitmap CreateTopDownDib(int width, int height, void*& bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bits = nullptr;
    unique_hbitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits) dib.reset();
    return dib;
}

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
            Frame frame = std::move(frame_);
            const com_ptr<IWICImagingFactory> factory = CreateFactory();
            if (!factory) return {};
            if (!frame.frame) frame = OpenFirstFrame(*factory, path_);
            if (!frame.frame) return {};

            slideshow::ScaleSource source;
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

            ScaledBitmap out;
            void* bits = nullptr;
            out.bitmap = CreateTopDownDib(width, height, bits);
            if (!out.bitmap ||
                !slideshow::ScaleImage(source, width, height, static_cast<std::uint8_t*>(bits),
                                       static_cast<std::size_t>(width) * 4))
                return {};
            out.width = width;
            out.height = height;
            return out;
        } catch (const std::exception&) {
            return {};
        }
    }

  private:
    std::wstring path_;
    SIZE size_;
    mutable Frame frame_;
};

// A file beside the target that is removed again unless it was kept.
class TempFile {
  public:
    explicit TempFile(const std::wstring& target) {
        const std::size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder =
            slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
        wchar_t name[MAX_PATH + 1] = {};
        if (GetTempFileNameW(folder.c_str(), L"orv", 0, name)) path_ = name;
    }
    ~TempFile() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return path_; }
    bool MoveTo(const std::wstring& target) {
        if (!MoveFileExW(path_.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

  private:
    std::wstring path_;
};

bool WriteBitmapFile(IWICImagingFactory& factory, IWICBitmapSource* pixels, UINT width, UINT height,
                     const std::wstring& path) {
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapEncoder> encoder;
    com_ptr<IWICBitmapFrameEncode> frame;
    // One call a statement: each Out hands its pointer over when its
    // statement ends.
    if (FAILED(factory.CreateStream(Out(stream)))) return false;
    if (FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) return false;
    if (FAILED(factory.CreateEncoder(GUID_ContainerFormatBmp, nullptr, Out(encoder)))) return false;
    if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
    if (FAILED(encoder->CreateNewFrame(Out(frame), nullptr))) return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    return SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->SetSize(width, height)) &&
           SUCCEEDED(frame->SetPixelFormat(&format)) &&
           SameFormat(format, GUID_WICPixelFormat24bppBGR) &&
           SUCCEEDED(frame->WriteSource(pixels, nullptr)) && SUCCEEDED(frame->Commit()) &&
           SUCCEEDED(encoder->Commit());
}

} // namespace

std::unique_ptr<PictureFile> PictureFile::Open(const std::wstring& path) {
    try {
        const com_ptr<IWICImagingFactory> factory = CreateFactory();
        if (!factory || path.empty()) return nullptr;
        Frame frame = OpenFirstFrame(*factory, path);
        if (!frame.frame) return nullptr;
        return std::make_unique<WicPictureFile>(path, std::move(frame));
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool SaveAsWindowsBitmap(const std::wstring& source, const std::wstring& bmpPath) {
    try {
        const com_ptr<IWICImagingFactory> factory = CreateFactory();
        if (!factory || source.empty() || bmpPath.empty()) return false;
        TempFile temp(bmpPath);
        if (temp.Path().empty()) return false;
        {
            const Frame frame = OpenFirstFrame(*factory, source);
            if (!frame.frame) return false;
            // Through premultiplied BGRA first, so transparent pixels turn
            // black rather than taking their hidden colour.
            int bytesPerPixel = 0;
            const com_ptr<IWICBitmapSource> readable =
                ReadableSource(*factory, frame.frame.get(), bytesPerPixel);
            if (!readable) return false;
            const com_ptr<IWICBitmapSource> bgr =
                Convert(*factory, readable.get(), GUID_WICPixelFormat24bppBGR);
            if (!bgr ||
                !WriteBitmapFile(*factory, bgr.get(), frame.width, frame.height, temp.Path()))
                return false;
        }
        return temp.MoveTo(bmpPath);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace orv::win32
