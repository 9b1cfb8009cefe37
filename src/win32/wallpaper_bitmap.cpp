#include "win32/wallpaper_bitmap.h"

#include <windows.h>

#include <exception>

#include "win32/wic_support.h"

namespace orv::win32 {

using wic::Convert;
using wic::CreateFactory;
using wic::Frame;
using wic::OpenFirstFrame;
using wic::Out;
using wic::ReadableSource;
using wic::SameFormat;

namespace {

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
