// Types shared by the picture decoders: a picture's size in pixels, work on
// each drawn row, and random access to the bytes of a picture file, read as
// a decoder needs them rather than whole.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace orv::imaging {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// Work done on each drawn row of `width` pixels (B, G, R and, for 4 bytes a
// pixel, one more byte, kept) as soon as it is written: the colour
// conversion, while the rows still to come are decoded and scaled. It may be
// called from two threads at once, for different rows.
using RowFilter = std::function<void(std::uint8_t* row, int width, int bytesPerPixel)>;

struct ByteReader {
    std::uint64_t size = 0;
    // Copies up to `count` bytes from `offset` on into `dest` and returns
    // how many it copied: fewer only at the end of the file or on an error.
    // Never throws (it is called from the decoders' C callbacks too).
    std::function<std::size_t(std::uint64_t offset, std::uint8_t* dest, std::size_t count)> read;
};

// A reader over bytes in memory, which must outlive it.
inline ByteReader MemoryReader(std::span<const std::uint8_t> bytes) {
    return {bytes.size(), [bytes](std::uint64_t offset, std::uint8_t* dest, std::size_t count) {
                if (offset >= bytes.size()) return std::size_t{0};
                const std::size_t n = std::min<std::uint64_t>(count, bytes.size() - offset);
                std::memcpy(dest, bytes.data() + offset, n);
                return n;
            }};
}

// The whole file when it is not empty, at most `maxBytes` and read to its
// end; nothing otherwise.
inline std::optional<std::vector<std::uint8_t>> ReadWhole(const ByteReader& file,
                                                          std::size_t maxBytes) {
    if (file.size == 0 || file.size > maxBytes) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size));
    if (file.read(0, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

// A temporary file a decoder keeps what does not fit its memory in: written
// and read back at any offset, gone once it is destroyed and with the
// process, however that ends. Read and Write give false when they fail.
class ScratchFile {
  public:
    virtual ~ScratchFile() = default;
    virtual bool Read(std::uint64_t offset, void* dest, std::size_t count) noexcept = 0;
    virtual bool Write(std::uint64_t offset, const void* source, std::size_t count) noexcept = 0;
};

// Opens a new scratch file; nothing when it cannot.
using ScratchFiles = std::function<std::unique_ptr<ScratchFile>()>;

} // namespace orv::imaging
