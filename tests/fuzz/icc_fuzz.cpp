// libFuzzer target for the embedded colour profiles: any bytes read as a
// JPEG (its APP2 chunks found, ordered, read and checked) and as a BMP (its
// V5 header's profile), and checked whole as a profile of either use, as
// the picture loader and the colour conversion would. Seeds:
// tests/fuzz/corpus/icc/.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/icc_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orv::imaging;
    const std::span<const std::uint8_t> bytes(data, size);
    const ByteReader file = MemoryReader(bytes);
    // A profile found is whole and usable; its size says so.
    for (const auto& profile : {ReadJpegIccProfile(file), ReadBmpIccProfile(file)})
        if (!profile.empty() && !IsUsableProfile(profile, ProfileUse::PictureSource))
            __builtin_trap();
    IsUsableProfile(bytes, ProfileUse::PictureSource);
    IsUsableProfile(bytes, ProfileUse::DisplayTarget);
    return 0;
}
