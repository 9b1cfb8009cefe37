#include "imaging/bmp_writer.h"

#include <array>
#include <vector>

namespace orv::imaging {
namespace {

void Put16(std::uint8_t* at, std::uint32_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* at, std::uint32_t v) {
    Put16(at, v);
    Put16(at + 2, v >> 16);
}

} // namespace

bool WriteBmp(const ByteSink& sink, const std::uint8_t* pixels, int width, int height,
              std::size_t stride) {
    if (width <= 0 || height <= 0 || !pixels || !sink) return false;
    constexpr std::size_t kHeaders = 14 + 40;
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const unsigned long long fileBytes =
        kHeaders + static_cast<unsigned long long>(rowBytes) * static_cast<unsigned>(height);
    if (fileBytes > 0xFFFFFFFFull) return false;

    std::array<std::uint8_t, kHeaders> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put32(&header[2], static_cast<std::uint32_t>(fileBytes));
    Put32(&header[10], kHeaders);
    Put32(&header[14], 40);
    Put32(&header[18], static_cast<std::uint32_t>(width));
    Put32(&header[22], static_cast<std::uint32_t>(height)); // positive: bottom up
    Put16(&header[26], 1);                                  // planes
    Put16(&header[28], 24);                                 // bits a pixel
    Put32(&header[34], static_cast<std::uint32_t>(rowBytes * static_cast<unsigned>(height)));
    Put32(&header[38], 2835); // 72 dots per inch
    Put32(&header[42], 2835);
    if (!sink(header.data(), header.size())) return false;

    std::vector<std::uint8_t> row(rowBytes, 0);
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* in = pixels + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = in[4 * x];
            row[3 * x + 1] = in[4 * x + 1];
            row[3 * x + 2] = in[4 * x + 2];
        }
        if (!sink(row.data(), row.size())) return false;
    }
    return true;
}

} // namespace orv::imaging
