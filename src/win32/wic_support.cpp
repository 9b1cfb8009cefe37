#include "win32/wic_support.h"

namespace orv::win32::wic {

com_ptr<IWICImagingFactory> CreateFactory() {
    com_ptr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(static_cast<IWICImagingFactory**>(Out(factory))));
    return factory;
}

namespace {

// Reads the first frame from the decoder already in `f`.
Frame FirstFrame(Frame f) {
    if (FAILED(f.decoder->GetFrame(0, Out(f.frame)))) return {};
    if (FAILED(f.frame->GetSize(&f.width, &f.height)) || f.width == 0 || f.height == 0) return {};
    return f;
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

bool SameFormat(const WICPixelFormatGUID& a, const WICPixelFormatGUID& b) {
    return IsEqualGUID(a, b) != FALSE;
}

} // namespace

Frame OpenFirstFrame(IWICImagingFactory& factory, std::vector<std::uint8_t> bytes) {
    Frame f;
    f.bytes = std::move(bytes);
    if (f.bytes.empty() || f.bytes.size() > MAXDWORD) return {};
    if (FAILED(factory.CreateStream(Out(f.stream)))) return {};
    if (FAILED(f.stream->InitializeFromMemory(f.bytes.data(), static_cast<DWORD>(f.bytes.size()))))
        return {};
    if (FAILED(factory.CreateDecoderFromStream(f.stream.get(), nullptr,
                                               WICDecodeMetadataCacheOnDemand, Out(f.decoder))))
        return {};
    return FirstFrame(std::move(f));
}

Frame OpenFirstFrame(IWICImagingFactory& factory, const std::wstring& path) {
    Frame f;
    if (FAILED(factory.CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                 WICDecodeMetadataCacheOnDemand, Out(f.decoder))))
        return {};
    return FirstFrame(std::move(f));
}

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

} // namespace orv::win32::wic
