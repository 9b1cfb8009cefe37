// Writes test JPEGs of any size row by row (smooth colour fields, a few hard
// edges and some grain), for the benchmarks and the end-to-end tests:
// ImageMagick's default limits refuse to hold 150 megapixels, and it cannot
// write a chosen number of progressive scans or a lying header.
// Usage: make-jpeg FILE WIDTH HEIGHT [--quality Q] [--scans N] [--progressive] [--arithmetic]
//                 [--claim W H]
//   --scans N   progressive in N scans (4 to 190), every component at full resolution
//   --progressive  progressive in libjpeg's usual ten scans, colour at half resolution
//   --arithmetic   arithmetic coding instead of Huffman coding
//   --claim W H the header says W x H; the file ends after the first scan's header
// Built once by the build (tests/tools/CMakeLists.txt) with the machine's
// own compiler and libjpeg.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>

namespace {

// A scan script of `count` scans: one DC scan of all components, then each
// component's AC coefficients 1 to 63 in bands, as many as the count leaves.
std::vector<jpeg_scan_info> Scans(int count) {
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = 3;
    dc.component_index[0] = 0, dc.component_index[1] = 1, dc.component_index[2] = 2;
    scans.push_back(dc);
    const int perComponent[3] = {(count - 1 + 2) / 3, (count - 1 + 1) / 3, (count - 1) / 3};
    for (int c = 0; c < 3; ++c) {
        const int bands = std::clamp(perComponent[c], 1, 63);
        for (int b = 0; b < bands; ++b) {
            jpeg_scan_info ac{};
            ac.comps_in_scan = 1;
            ac.component_index[0] = c;
            ac.Ss = 1 + 63 * b / bands;
            ac.Se = 63 * (b + 1) / bands;
            scans.push_back(ac);
        }
    }
    return scans;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make-jpeg FILE WIDTH HEIGHT [--quality Q] [--scans N] "
                             "[--progressive] [--arithmetic] [--claim W H]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    int quality = 92, scanCount = 0, claimWidth = 0, claimHeight = 0;
    bool progressive = false, arithmetic = false;
    for (int i = 4; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--quality") && i + 1 < argc)
            quality = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--scans") && i + 1 < argc)
            scanCount = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--progressive"))
            progressive = true;
        else if (!std::strcmp(argv[i], "--arithmetic"))
            arithmetic = true;
        else if (!std::strcmp(argv[i], "--claim") && i + 2 < argc) {
            claimWidth = std::atoi(argv[++i]);
            claimHeight = std::atoi(argv[++i]);
        }
    }
    if (width <= 0 || height <= 0) return 2;

    unsigned char* memory = nullptr;
    unsigned long memorySize = 0;
    FILE* out = claimWidth ? nullptr : std::fopen(argv[1], "wb");
    if (!claimWidth && !out) return 1;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    if (out)
        jpeg_stdio_dest(&info, out);
    else
        jpeg_mem_dest(&info, &memory, &memorySize);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.arith_code = arithmetic ? TRUE : FALSE;
    std::vector<jpeg_scan_info> scans;
    if (progressive) jpeg_simple_progression(&info);
    if (scanCount > 0) {
        for (int c = 0; c < 3; ++c)
            info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
        scans = Scans(scanCount);
        info.scan_info = scans.data();
        info.num_scans = static_cast<int>(scans.size());
    }
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
    if (out) return std::fclose(out) == 0 ? 0 : 1;

    // A lying header: the frame's size patched, the data cut after the first
    // scan's header.
    std::vector<std::uint8_t> bytes(memory, memory + memorySize);
    std::free(memory);
    std::size_t end = bytes.size();
    for (std::size_t i = 2; i + 4 < bytes.size();) {
        if (bytes[i] != 0xFF) break;
        const int marker = bytes[i + 1];
        const std::size_t length = (bytes[i + 2] << 8) | bytes[i + 3];
        if (marker == 0xC0 || marker == 0xC2) {
            bytes[i + 5] = static_cast<std::uint8_t>(claimHeight >> 8);
            bytes[i + 6] = static_cast<std::uint8_t>(claimHeight);
            bytes[i + 7] = static_cast<std::uint8_t>(claimWidth >> 8);
            bytes[i + 8] = static_cast<std::uint8_t>(claimWidth);
        }
        if (marker == 0xDA) {
            end = i + 2 + length;
            break;
        }
        i += 2 + length;
    }
    FILE* cut = std::fopen(argv[1], "wb");
    if (!cut) return 1;
    std::fwrite(bytes.data(), 1, end, cut);
    return std::fclose(cut) == 0 ? 0 : 1;
}
