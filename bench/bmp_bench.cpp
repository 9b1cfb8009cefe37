// Measures the BMP decoder on a large bitmap and prints figures; it asserts
// nothing. Decodes FILE (by default a 6000 x 4000 24-bit BMP it writes to
// /tmp first) into a 1024 x 683 box through a reader over the open file, and
// prints the heap held at the peak of the decode (the box excluded), the
// decoder's own estimate of it, the time and the process's peak resident set.
// A portable program, built natively from the repository's root with
//   g++ -std=c++20 -O2 -Isrc bench/bmp_bench.cpp src/imaging/bmp_decoder.cpp
//       src/imaging/image_scale.cpp -o build/bmp_bench
// and run as build/bmp_bench [FILE].
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "imaging/bmp_decoder.h"

namespace {

// Every allocation of the process, counted: each block carries its size in
// front of it.
std::size_t heapNow = 0, heapPeak = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    heapNow += size;
    if (heapNow > heapPeak) heapPeak = heapNow;
    return block + kHeader;
}

void Free(void* p) {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    heapNow -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

// A 24-bit bottom-up BMP with a smooth pattern, written row by row.
bool WriteBmp(const std::string& path, int width, int height) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const auto put32 = [f](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            std::fputc(static_cast<int>(v >> (8 * i) & 0xFF), f);
    };
    std::fputs("BM", f);
    put32(static_cast<std::uint32_t>(54 + stride * height));
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put32(1 | 24 << 16);
    for (int i = 0; i < 6; ++i)
        put32(0);
    std::vector<unsigned char> row(stride);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>(x * 255 / width);
            row[3 * x + 1] = static_cast<unsigned char>(y * 255 / height);
            row[3 * x + 2] = static_cast<unsigned char>((x ^ y) & 0xFF);
        }
        std::fwrite(row.data(), 1, stride, f);
    }
    return std::fclose(f) == 0;
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Free(p);
}

int main(int argc, char** argv) {
    using namespace orv::imaging;
    std::string path = argc > 1 ? argv[1] : "/tmp/bmp_bench_6000x4000.bmp";
    if (argc <= 1) {
        std::printf("writing %s\n", path.c_str());
        if (!WriteBmp(path, 6000, 4000)) return 1;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return 1;
    std::fseek(f, 0, SEEK_END);
    ByteReader file;
    file.size = static_cast<std::uint64_t>(std::ftell(f));
    file.read = [f](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
        if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) return std::size_t{0};
        return std::fread(dest, 1, count, f);
    };
    const auto info = ReadBmpInfo(file);
    if (!info) {
        std::printf("not a BMP the decoder draws\n");
        return 1;
    }
    constexpr int kWidth = 1024, kHeight = 683;
    std::vector<std::uint8_t> box(static_cast<std::size_t>(kWidth) * kHeight * 4);
    const std::size_t before = heapNow;
    heapPeak = heapNow;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = DecodeBmp(file, kWidth, kHeight, box.data(), kWidth * 4, 48u << 20);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s: %d x %d, %d bits -> %d x %d: %s in %.0f ms\n", path.c_str(), info->size.width,
                info->size.height, info->bitsPerPixel, kWidth, kHeight, ok ? "decoded" : "FAILED",
                ms);
    std::printf("  heap held at the peak of the decode: %.2f MB (estimate %.2f MB; the box, "
                "%.2f MB, is the caller's)\n",
                (heapPeak - before) / 1048576.0,
                BmpDecodeMemory(*info, kWidth, kHeight) / 1048576.0, box.size() / 1048576.0);
    std::printf("  peak resident set of the process: %.1f MB\n", usage.ru_maxrss / 1024.0);
    std::fclose(f);
    return ok ? 0 : 1;
}
