// BMP files as a writer would lay them out, for the tests of the BMP decoder,
// the colour profiles and the fuzz seeds.
#pragma once
#include <cstdint>
#include <vector>

namespace orv::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A BMP as a writer would lay it out; fields a test does not set are the
// usual ones.
struct Bmp {
    std::uint32_t headerSize = 40; // 12 (OS/2 1.x), 16..64 (OS/2 2.x), 40, 52, 56, 108, 124
    int width = 0, height = 0;     // height < 0: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    int planes = 1;
    std::vector<std::uint32_t> masks = {};   // inside V2+ headers, else after the header
    std::vector<std::uint32_t> palette = {}; // 0x00RRGGBB
    std::uint32_t coloursUsed = 0;
    Bytes pixels = {};        // stored as they are
    std::int64_t offset = -1; // bfOffBits; -1: where the pixels start
    // V5 headers (124 bytes): the colour space type ("MBED", "LINK", "sRGB"
    // as four characters, 0 for none), and what follows the pixels (an
    // embedded profile or a linked path) with its offset from the start of
    // the info header (0: right after the pixels).
    const char* colourSpace = nullptr;
    Bytes colourData = {};
    std::uint32_t colourDataOffset = 0;

    Bytes Write() const {
        Bytes info;
        if (headerSize == 12) {
            Put16(info, 12), Put16(info, 0), Put16(info, width), Put16(info, height);
            Put16(info, planes), Put16(info, bpp);
        } else {
            Put32(info, headerSize), Put32(info, width), Put32(info, height);
            Put16(info, planes), Put16(info, bpp);
            for (std::uint32_t v :
                 {compression, std::uint32_t(pixels.size()), 2835u, 2835u, coloursUsed, 0u})
                Put32(info, v);
            for (std::uint32_t m : masks)
                if (headerSize > 40) Put32(info, m);
            info.resize(headerSize); // shortened or padded, V4/V5 fields zero
            if (colourSpace && headerSize >= 124) {
                const auto at = [&info](std::size_t i, std::uint32_t v) {
                    for (int k = 0; k < 4; ++k)
                        info[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
                };
                at(56, std::uint32_t(std::uint8_t(colourSpace[0])) << 24 |
                           std::uint32_t(std::uint8_t(colourSpace[1])) << 16 |
                           std::uint32_t(std::uint8_t(colourSpace[2])) << 8 |
                           std::uint8_t(colourSpace[3]));
                at(112, colourDataOffset ? colourDataOffset
                                         : static_cast<std::uint32_t>(headerSize + pixels.size()));
                at(116, static_cast<std::uint32_t>(colourData.size()));
            }
        }
        if (headerSize == 40)
            for (std::uint32_t m : masks)
                Put32(info, m);
        for (std::uint32_t c : palette) {
            Put16(info, c & 0xFFFF);
            info.push_back(static_cast<std::uint8_t>(c >> 16));
            if (headerSize != 12) info.push_back(0);
        }
        Bytes file = {'B', 'M'};
        Put32(file,
              static_cast<std::uint32_t>(14 + info.size() + pixels.size() + colourData.size()));
        Put32(file, 0);
        Put32(file, static_cast<std::uint32_t>(offset >= 0 ? offset : 14 + info.size()));
        file.insert(file.end(), info.begin(), info.end());
        file.insert(file.end(), pixels.begin(), pixels.end());
        file.insert(file.end(), colourData.begin(), colourData.end());
        return file;
    }
};

} // namespace orv::testing
