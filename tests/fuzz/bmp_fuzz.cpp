// libFuzzer target for the BMP decoder: reads the headers of any bytes and,
// when they pass, draws the picture into a small box within a modest memory
// limit, as the show would. Seeds: tests/fuzz/corpus/bmp/.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv::imaging;
    const ByteReader file = MemoryReader(std::span(data, size));
    const auto info = ReadBmpInfo(file);
    if (!info) return 0;
    // Pictures claiming more than 64K pixels only cost time here: each
    // source pixel passes through the scaler, present in the file or not.
    if (static_cast<std::int64_t>(info->size.width) * info->size.height > (1 << 16)) return 0;
    constexpr int kWidth = 40, kHeight = 30;
    std::vector<std::uint8_t> box(kWidth * kHeight * 4);
    DecodeBmp(file, kWidth, kHeight, box.data(), kWidth * 4, 16 << 20);
    // The same picture at its own size when small, where every pixel counts.
    if (info->size.width <= 64 && info->size.height <= 64) {
        std::vector<std::uint8_t> full(static_cast<std::size_t>(info->size.width) *
                                       info->size.height * 4);
        DecodeBmp(file, info->size.width, info->size.height, full.data(),
                  static_cast<std::size_t>(info->size.width) * 4, 16 << 20);
    }
    return 0;
}
