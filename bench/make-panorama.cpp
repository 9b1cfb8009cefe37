// Writes a photo-like JPEG of any size row by row (smooth colour fields, a
// few hard edges and some grain), for the benchmark of very large pictures:
// ImageMagick's default limits refuse to hold 150 megapixels.
// Usage: make-panorama FILE WIDTH HEIGHT [QUALITY]
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-panorama FILE WIDTH HEIGHT [QUALITY]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    const int quality = argc > 4 ? std::atoi(argv[4]) : 92;
    FILE* out = std::fopen(argv[1], "wb");
    if (!out || width <= 0 || height <= 0) return 1;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    std::uint32_t seed = 12345;
    const auto grain = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>(seed >> 26) - 32;
    };
    for (int y = 0; y < height; ++y) {
        const double v = static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
            const double u = static_cast<double>(x) / width;
            const double a = std::sin(u * 23 + v * 7) + std::sin(u * 5 - v * 17 + 1.3);
            const bool band = ((x / 900) + (y / 700)) % 5 == 0;
            std::uint8_t* p = &row[3 * static_cast<std::size_t>(x)];
            p[0] = static_cast<std::uint8_t>(
                std::clamp(120 + 60 * a + (band ? 40 : 0) + grain(), 0.0, 255.0));
            p[1] = static_cast<std::uint8_t>(
                std::clamp(110 + 50 * std::sin(u * 11 + v * 3) + grain(), 0.0, 255.0));
            p[2] = static_cast<std::uint8_t>(std::clamp(130 - 55 * a + grain(), 0.0, 255.0));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(out) == 0 ? 0 : 1;
}
