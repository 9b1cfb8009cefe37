
#include "imaging/jpeg_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <limits>

#include <jpeglib.h>

#include "imaging/image_scale.h"

namespace orv::imaging {
namespace {

// The decoder's own working memory (a progressive photo keeps all its
// coefficients, about 3 bytes a pixel); a picture needing more is refused
// rather than taking the machine's memory.
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

// libjpeg reports a fatal error through error_exit, which must not return:
// it jumps back to the Guard around the call. Warnings (corrupt data that
// libjpeg steps over) are dropped.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

class Decompressor {
  public:
    Decompressor() {
        info_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = JumpOnError;
        errors_.pub.emit_message = IgnoreMessage;
        created_ = Guard([this] {
            jpeg_create_decompress(&info_);
            info_.mem->max_memory_to_use = kMaxDecoderMemory;
        });
    }
    ~Decompressor() {
        if (created_) jpeg_destroy_decompress(&info_);
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    // Runs libjpeg calls; false when one of them failed. The jump lands
    // here, so between this frame and libjpeg there must be nothing that
    // needs destroying: `call` only makes libjpeg calls on plain values.
    template <typename Call> bool Guard(Call&& call) {
        if (setjmp(errors_.jump)) return false;
        call();
        return true;
    }

    // Reads the header from `bytes`, which must outlive the decompressor.
    // False unless it is a JPEG in colour or grey.
    bool ReadHeader(std::span<const std::uint8_t> bytes) {
        if (!created_ || bytes.size() < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8 ||
            bytes.size() > std::numeric_limits<unsigned long>::max())
            return false;
        const bool read = Guard([&] {
            jpeg_mem_src(&info_, bytes.data(), static_cast<unsigned long>(bytes.size()));
            jpeg_read_header(&info_, TRUE);
        });
        if (!read) return false;
        switch (info_.jpeg_color_space) {
        case JCS_GRAYSCALE:
            return info_.num_components == 1;
        case JCS_YCbCr:
        case JCS_RGB:
            return info_.num_components == 3;
        default:
            return false;
        }
    }

    jpeg_decompress_struct& info() { return info_; }

  private:
    jpeg_decompress_struct info_{};
    ErrorManager errors_{};
    bool created_ = false;
};

} // namespace

std::optional<PixelSize> JpegSize(std::span<const std::uint8_t> bytes) {
    Decompressor decoder;
    if (!decoder.ReadHeader(bytes)) return std::nullopt;
    return PixelSize{static_cast<int>(decoder.info().image_width),
                     static_cast<int>(decoder.info().image_height)};
}

bool DecodeJpeg(std::span<const std::uint8_t> bytes, int width, int height, std::uint8_t* dest,
                std::size_t stride) {
    if (width <= 0 || height <= 0 || !dest) return false;
    Decompressor decoder;
    if (!decoder.ReadHeader(bytes)) return false;
    jpeg_decompress_struct& info = decoder.info();
    info.out_color_space = JCS_EXT_BGR;

    // The smallest of the decoder's sizes (n/8 of the picture) that is at
    // least twice the target, else the full size. Shrinking by less than two
    // in the scaler would blur: each output pixel would be a blend of two
    // source pixels, like a linear filter (about 3 dB worse on photos).
    constexpr unsigned kScalerShare = 2;
    info.scale_denom = 8;
    for (unsigned n = 1; n <= 8; ++n) {
        info.scale_num = n;
        if (!decoder.Guard([&] { jpeg_calc_output_dimensions(&info); })) return false;
        if (info.output_width >= kScalerShare * static_cast<unsigned>(width) &&
            info.output_height >= kScalerShare * static_cast<unsigned>(height))
            break;
    }
    if (!decoder.Guard([&] { jpeg_start_decompress(&info); })) return false;

    ScaleSource source;
    source.width = static_cast<int>(info.output_width);
    source.height = static_cast<int>(info.output_height);
    source.bytesPerPixel = 3;
    source.readRows = [&](int first, int count, std::uint8_t* rows, std::size_t rowStride) {
        if (static_cast<JDIMENSION>(first) != info.output_scanline) return false;
        const auto end = static_cast<JDIMENSION>(first + count);
        bool stalled = false;
        const bool read = decoder.Guard([&] {
            while (info.output_scanline < end) {
                JSAMPROW pointers[16];
                const JDIMENSION n = std::min<JDIMENSION>(end - info.output_scanline, 16);
                for (JDIMENSION i = 0; i < n; ++i)
                    pointers[i] = rows + (info.output_scanline - first + i) * rowStride;
                if (jpeg_read_scanlines(&info, pointers, n) == 0) {
                    stalled = true;
                    return;
                }
            }
        });
        return read && !stalled;
    };
    return ScaleImage(source, width, height, dest, stride);
}

} // namespace orv::imaging
