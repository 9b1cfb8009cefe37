// Fuzz target for the JPEG decoder: the header, the EXIF orientation and,
// for a sound header of a picture that is not huge, a decode to a small
// target (whole, and in bands), all on the fuzzer's bytes. Seeds: tests/fuzz/corpus/jpeg/.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/exif_orientation.h"
#include "imaging/jpeg_decoder.h"

using namespace orv::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const ByteReader file = MemoryReader(bytes);
    ExifOrientation(bytes);
    const int orientation = JpegOrientation(file);
    if (orientation < 1 || orientation > 8) __builtin_trap();

    const auto info = ReadJpegInfo(file);
    if (!info || !info->drawable) return 0;
    // Decoding time grows with the picture's blocks, scan after scan, even
    // when the data is empty; a quarter megapixel and a few dozen scans keep
    // each run short.
    constexpr long long kMaxPixels = 250'000;
    if (static_cast<long long>(info->stored.width) * info->stored.height > kMaxPixels) return 0;
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<std::uint8_t> pixels(kWidth * kHeight * 4);
    // With the coefficients kept whole, and again with too little memory for
    // them: a file in several scans is then decoded a band of rows at a time.
    for (const std::size_t memory : {std::size_t{64} << 20, std::size_t{16} << 10}) {
        const JpegLimits limits{.maxDecoderMemory = memory, .maxScans = 30};
        if (DecodeJpeg(file, kWidth, kHeight, pixels.data(), kWidth * 4, limits)) {
            for (std::size_t i = 3; i < pixels.size(); i += 4)
                if (pixels[i] != 255) __builtin_trap();
        }
    }
    return 0;
}
