// Fuzz target for the EXIF orientation reader on an APP1 payload. Seeds:
// tests/fuzz/corpus/exif/.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/exif_orientation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int orientation =
        orv::imaging::ExifOrientation(std::span<const std::uint8_t>(data, size));
    if (orientation < 1 || orientation > 8) __builtin_trap();
    return 0;
}
