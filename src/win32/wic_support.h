// Small helpers around WIC for the picture loader: the factory, the first
// frame of a file, and pixels in a format the scaler reads.
#pragma once
#include <windows.h>

#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/unique_handle.h"

namespace orv::win32::wic {

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

com_ptr<IWICImagingFactory> CreateFactory();

struct Frame {
    Frame() = default;
    Frame(Frame&&) = default;
    // An assignment would free the old bytes before the old decoder.
    Frame& operator=(Frame&&) = delete;

    // The file's bytes when it was read into memory; the decoder reads from
    // them, so they are declared first and released last.
    std::vector<std::uint8_t> bytes;
    com_ptr<IWICStream> stream;
    com_ptr<IWICBitmapDecoder> decoder;
    com_ptr<IWICBitmapFrameDecode> frame;
    UINT width = 0;
    UINT height = 0;
};

// The first frame of a file, or an empty frame when the file cannot be
// opened as a picture or claims no pixels.
Frame OpenFirstFrame(IWICImagingFactory& factory, const std::wstring& path);
// The same for a file already read into memory.
Frame OpenFirstFrame(IWICImagingFactory& factory, std::vector<std::uint8_t> bytes);

// Pixels the scaler can read as they are: 24-bit BGR, or 32-bit whose fourth
// byte means nothing (BGR) or has already been applied (premultiplied).
// Anything else goes through premultiplied BGRA, which puts it on black.
com_ptr<IWICBitmapSource> ReadableSource(IWICImagingFactory& factory, IWICBitmapSource* source,
                                         int& bytesPerPixel);

} // namespace orv::win32::wic
