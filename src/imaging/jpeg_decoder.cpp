
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

// A progressive file is read scan by scan before the first row comes out,
// and every scan walks every block of the picture, even an empty one: a
// small file of thousands of empty scans would keep the show busy for
// minutes. Real photos have about ten scans.
constexpr int kMaxScans = 100;

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

// Called by libjpeg as it works: refuses a file with too many scans.
void LimitScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        JumpOnError(info);
}

class Decompressor {
  public:
    Decompressor() {
        info_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = JumpOnError;
        errors_.pub.emit_message = IgnoreMessage;
        progress_.progress_monitor = LimitScans;
        created_ = Guard([this] {
            jpeg_create_decompress(&info_);
            info_.mem->max_memory_to_use = kMaxDecoderMemory;
            info_.progress = &progress_;
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
    jpeg_progress_mgr progress_{};
    bool created_ = false;
};

} // namespace

int JpegDecodeEighths(PixelSize picture, int width, int height) {
    const auto eighths = [](int size, int n) {
        return (static_cast<long long>(size) * n + 7) / 8; // as libjpeg rounds
    };
    constexpr int kScalerShare = 2;
    for (int n = 1; n < 8; ++n)
        if (eighths(picture.width, n) >= static_cast<long long>(kScalerShare) * width &&
            eighths(picture.height, n) >= static_cast<long long>(kScalerShare) * height)
            return n;
    return 8;
}

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

    info.scale_num = static_cast<unsigned>(JpegDecodeEighths(
        {static_cast<int>(info.image_width), static_cast<int>(info.image_height)}, width, height));
    info.scale_denom = 8;
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
