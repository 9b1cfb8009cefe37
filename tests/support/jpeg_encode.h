// Test pictures made with libjpeg's own encoder, for the tests of the JPEG
// decoder (host) and of the picture loader (Windows).
#pragma once
#include <cstdint>
#include <cstdio> // before jpeglib.h
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace orv::testing {

// Fills one pixel at (x, y): R, G, B; or grey; or C, M, Y, K as stored.
using JpegPixelFn = std::function<void(int x, int y, std::uint8_t* px)>;

struct JpegOptions {
    J_COLOR_SPACE space = JCS_RGB; // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    bool progressive = false;
    bool arithmetic = false; // arithmetic instead of Huffman coding
    unsigned restartRows = 0;
    bool fullColour = false;             // colour at full resolution (4:4:4)
    std::vector<jpeg_scan_info> scans{}; // a scan script of its own
};

// A JPEG at quality 95 (a CMYK one with the Adobe marker, as print programs
// write them).
inline std::vector<std::uint8_t> EncodeJpeg(int width, int height, const JpegPixelFn& pixel,
                                            JpegOptions options = {}) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.in_color_space = options.space;
    info.input_components = options.space == JCS_GRAYSCALE ? 1 : options.space == JCS_CMYK ? 4 : 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (options.fullColour) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (options.progressive) jpeg_simple_progression(&info);
    if (!options.scans.empty()) {
        info.scan_info = options.scans.data();
        info.num_scans = static_cast<int>(options.scans.size());
    }
    info.arith_code = options.arithmetic ? TRUE : FALSE;
    info.restart_in_rows = static_cast<int>(options.restartRows);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x)
            pixel(x, static_cast<int>(info.next_scanline), &row[x * info.input_components]);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

} // namespace orv::testing
