#include "imaging/jpeg_bands.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <new>
#include <optional>
#include <vector>

#include <jpeglib.h>
// jerror.h after jpeglib.h
#include <jerror.h>

#include "imaging/jpeg_decoder.h"
#include "imaging/jpeg_memory.h"
#include "imaging/jpeg_segments.h"

namespace orv::imaging {
namespace {

// The natural (row by row) place of each coefficient in zigzag order, and
// sixteen more for a run that goes past the end of a damaged block.
constexpr std::array<std::uint8_t, 80> kNatural = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};

constexpr std::size_t kBlockBytes = sizeof(JBLOCK);

// How much of the memory a band takes at most: every scan walks the band
// again, so a band that stays in the processor's cache is decoded several
// times faster than one that does not.
constexpr std::size_t kBandBytes = std::size_t{4} << 20;

// A file's bytes from `begin` up to `end` (exclusive), read a piece at a
// time into a buffer of its own.
class FileRange {
  public:
    FileRange() = default;
    FileRange(const ByteReader& file, std::uint64_t begin, std::uint64_t end, std::size_t buffer)
        : file_(&file), end_(end), start_(begin), buffer_(buffer) {}

    // The byte at `at`, or -1 at the end or where the file cannot be read.
    int At(std::uint64_t at) {
        if (at >= end_) return -1;
        if (at - start_ >= filled_) { // also when `at` is before the buffer
            start_ = at;
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(buffer_.size(), end_ - at));
            filled_ = ReadFileBytes(*file_, at, buffer_.data(), want);
            if (filled_ == 0) {
                failed_ = true;
                return -1;
            }
        }
        return buffer_[static_cast<std::size_t>(at - start_)];
    }
    // The bytes from `at` on that are in the buffer already, and how many.
    const std::uint8_t* Buffered(std::uint64_t at, std::size_t& count) const {
        count = at - start_ < filled_ ? static_cast<std::size_t>(filled_ - (at - start_)) : 0;
        return count ? buffer_.data() + (at - start_) : nullptr;
    }
    // Whether a read before the end gave nothing: the file shrank, broke or
    // the decode was cancelled.
    bool Failed() const { return failed_; }

  private:
    const ByteReader* file_ = nullptr;
    std::uint64_t end_ = 0;
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
    std::vector<std::uint8_t> buffer_;
    bool failed_ = false;
};

// A Huffman table ready for decoding: codes of up to kFastBits bits by one
// look-up, longer ones by their length.
constexpr int kFastBits = 9;

struct HuffmanTable {
    std::array<std::uint16_t, 1 << kFastBits> fast{}; // length << 8 | symbol; 0: a longer code
    std::array<std::int32_t, 18> maxCode{};           // by length; -1: no code that long
    std::array<std::int32_t, 17> offset{};            // symbol index less code, by length
    std::array<std::uint8_t, 256> symbols{};
    // For an AC table, a code and its value's bits together when they take
    // at most kFastBits: value << 8 | run << 4 | bits taken; 0 otherwise.
    std::array<std::int32_t, 1 << kFastBits> fastAc{};
};

// A table as a DHT segment defines it.
struct TableBytes {
    std::array<std::uint8_t, 16> counts{};
    std::array<std::uint8_t, 256> symbols{};
};

// The canonical codes of `bytes`; nothing when they overflow their lengths,
// or a DC table has a symbol of more than 15 bits (libjpeg refuses both).
std::optional<HuffmanTable> BuildTable(const TableBytes& bytes, bool dc) {
    HuffmanTable table;
    int code = 0, k = 0;
    for (int length = 1; length <= 16; ++length) {
        const int count = bytes.counts[length - 1];
        table.offset[length] = k - code;
        for (int i = 0; i < count; ++i, ++k, ++code) {
            const std::uint8_t symbol = bytes.symbols[k];
            if (code >= (1 << length) || (dc && symbol > 15)) return std::nullopt;
            table.symbols[k] = symbol;
            if (length <= kFastBits)
                std::fill(table.fast.begin() + (code << (kFastBits - length)),
                          table.fast.begin() + ((code + 1) << (kFastBits - length)),
                          static_cast<std::uint16_t>(length << 8 | symbol));
        }
        table.maxCode[length] = count ? code - 1 : -1;
        code <<= 1;
    }
    table.maxCode[17] = INT32_MAX;
    for (int peek = 0; !dc && peek < (1 << kFastBits); ++peek) {
        const int entry = table.fast[peek], length = entry >> 8, run = (entry >> 4) & 15,
                  size = entry & 15;
        if (!entry || size == 0 || length + size > kFastBits) continue;
        const unsigned bits =
            (static_cast<unsigned>(peek) >> (kFastBits - length - size)) & ((1u << size) - 1);
        const int value = bits < (1u << (size - 1)) ? static_cast<int>(bits) - (1 << size) + 1
                                                    : static_cast<int>(bits);
        table.fastAc[peek] =
            static_cast<int>(static_cast<unsigned>(value) << 8) | run << 4 | (length + size);
    }
    return table;
}

enum class ScanKind { DcFirst, DcRefine, AcFirst, AcRefine, Sequential };

// One scan: its header, and where its decoding stands between bands.
struct Scan {
    ScanKind kind = ScanKind::Sequential;
    int count = 0;                           // components in the scan
    std::array<int, 4> component{};          // index into the frame's components
    std::array<int, 4> dcTable{}, acTable{}; // index into the decoder's tables
    int ss = 0, se = 63, al = 0;
    unsigned restartInterval = 0;
    std::uint64_t begin = 0, end = 0; // its entropy-coded data

    FileRange data;
    std::uint64_t at = 0; // the next byte to take
    std::uint64_t bits = 0;
    int bitCount = 0;
    int padding = 0;        // zero bits put in after the data ran out
    bool stopped = false;   // at a marker or the end: only zero bits come
    bool exhausted = false; // a block took padding: the rest waits for a restart
    int eobRun = 0;
    std::array<int, 4> dc{};
    unsigned restartsToGo = 0;
};

struct Component {
    int id = 0, h = 1, v = 1;
    int widthInBlocks = 0, heightInBlocks = 0;
    int blocksPerRow = 0, rows = 0; // of libjpeg's array: rounded up to whole sampling units
    int quantTable = 0;
    std::optional<std::array<UINT16, DCTSIZE2>> quant; // as at the component's first scan
    std::vector<JCOEF> band;                           // its rows of the current band
    std::vector<JBLOCKROW> rowStarts;
    class Bands* owner = nullptr;
};

class Bands final : public CoefficientBands {
  public:
    std::uint64_t HeaderEnd() const override { return headerEnd_; }
    void Install(jpeg_decompress_struct& info) override;

    bool Walk(const ByteReader& file, const jpeg_decompress_struct& header,
              const JpegLimits& limits);
    bool Allocate(const ByteReader& file, const JpegLimits& limits);

    Component* Requested(JDIMENSION blocksPerRow, JDIMENSION rows) noexcept;
    JBLOCKARRAY Rows(Component& c, JDIMENSION start, JDIMENSION count, bool writable) noexcept;

  private:
    bool ReadScanHeader(FileRange& bytes, std::uint64_t at, std::uint64_t length,
                        const JpegLimits& limits);
    int TableFor(int tableClass, int id);
    void DecodeNextBand() noexcept;
    void DecodeScan(Scan& scan) noexcept;
    bool StartMcu(Scan& scan) noexcept;
    void EndMcu(Scan& scan) noexcept;
    void DecodeBlock(Scan& scan, int slot, JCOEF* block) noexcept;

    JCOEF* Block(Component& c, int row, int column) {
        return c.band.data() +
               (static_cast<std::size_t>(row - bandStart_ * c.v) * c.blocksPerRow + column) *
                   DCTSIZE2;
    }

    bool progressive_ = false;
    int mcusPerRow_ = 0, imcuRows_ = 0;
    std::vector<Component> components_;
    std::vector<Scan> scans_;
    std::vector<HuffmanTable> tables_;
    // The tables in force while walking: as defined, and where each went
    // into tables_ once a scan used it (-1: not yet since it was defined).
    std::array<std::array<std::optional<TableBytes>, 4>, 2> defined_;
    std::array<std::array<int, 4>, 2> built_{};
    std::array<std::optional<std::array<UINT16, DCTSIZE2>>, 4> quant_;
    unsigned restartInterval_ = 0;
    std::uint64_t headerEnd_ = 0;

    int bandRows_ = 0; // in rows of MCUs
    int bandStart_ = 0, bandEnd_ = 0;
    std::size_t requests_ = 0;
    bool failed_ = false;
};

// --- Reading the bits -----------------------------------------------------

void Fill(Scan& s) noexcept {
    while (s.bitCount <= 56) {
        // Plain bytes straight from the buffer.
        std::size_t count = 0;
        const std::uint8_t* next = s.stopped ? nullptr : s.data.Buffered(s.at, count);
        for (; count > 0 && *next != 0xFF && s.bitCount <= 56; ++next, --count, ++s.at) {
            s.bits = s.bits << 8 | *next;
            s.bitCount += 8;
        }
        if (s.bitCount > 56) break;
        unsigned byte = 0;
        if (!s.stopped) {
            const int b = s.data.At(s.at);
            if (b < 0) {
                s.stopped = true;
            } else if (b != 0xFF) {
                byte = static_cast<unsigned>(b);
                ++s.at;
            } else if (s.data.At(s.at + 1) == 0) {
                byte = 0xFF;
                s.at += 2;
            } else {
                s.stopped = true; // a marker: a restart, or the end of the scan
            }
        }
        if (s.stopped) s.padding += 8;
        s.bits = s.bits << 8 | byte;
        s.bitCount += 8;
    }
}

unsigned GetBits(Scan& s, int n) noexcept {
    if (n == 0) return 0;
    if (s.bitCount < n) Fill(s);
    s.bitCount -= n;
    return static_cast<unsigned>(s.bits >> s.bitCount) & ((1u << n) - 1);
}

int Extend(unsigned value, int size) noexcept {
    if (size == 0) return 0;
    return value < (1u << (size - 1)) ? static_cast<int>(value) - (1 << size) + 1
                                      : static_cast<int>(value);
}

int Decode(Scan& s, const HuffmanTable& t) noexcept {
    if (s.bitCount < 16) Fill(s);
    const unsigned peek =
        static_cast<unsigned>(s.bits >> (s.bitCount - kFastBits)) & ((1u << kFastBits) - 1);
    if (const unsigned entry = t.fast[peek]) {
        s.bitCount -= static_cast<int>(entry >> 8);
        return static_cast<int>(entry & 0xFF);
    }
    for (int length = kFastBits + 1; length <= 16; ++length) {
        const auto code =
            static_cast<std::int32_t>((s.bits >> (s.bitCount - length)) & ((1u << length) - 1));
        if (code <= t.maxCode[length]) {
            s.bitCount -= length;
            return t.symbols[static_cast<std::size_t>(code + t.offset[length])];
        }
    }
    s.bitCount -= 16; // no such code: damaged data, taken as 0 as libjpeg does
    return 0;
}

JCOEF Shifted(int value, int al) {
    return static_cast<JCOEF>(static_cast<unsigned>(value) << al);
}

// --- The walk over the file's scans ---------------------------------------

int Bands::TableFor(int tableClass, int id) {
    int& built = built_[tableClass][id];
    if (built < 0) {
        if (!defined_[tableClass][id]) return -1;
        const std::optional<HuffmanTable> table =
            BuildTable(*defined_[tableClass][id], !tableClass);
        if (!table) return -1;
        tables_.push_back(*table);
        built = static_cast<int>(tables_.size()) - 1;
    }
    return built;
}

bool Bands::ReadScanHeader(FileRange& bytes, std::uint64_t at, std::uint64_t length,
                           const JpegLimits& limits) {
    if (static_cast<int>(scans_.size()) >= limits.maxScans) return false;
    const int count = bytes.At(at);
    if (count < 1 || count > 4 || length != 4 + 2 * static_cast<std::uint64_t>(count)) return false;
    Scan scan;
    scan.count = count;
    int blocksInMcu = 0;
    for (int i = 0; i < count; ++i) {
        const int id = bytes.At(at + 1 + 2 * i), tables = bytes.At(at + 2 + 2 * i);
        const auto c = std::find_if(components_.begin(), components_.end(),
                                    [id](const Component& c) { return c.id == id; });
        if (tables < 0 || c == components_.end()) return false;
        const int index = static_cast<int>(c - components_.begin());
        for (int j = 0; j < i; ++j)
            if (scan.component[j] == index) return false;
        scan.component[i] = index;
        scan.dcTable[i] = tables >> 4;
        scan.acTable[i] = tables & 15;
        blocksInMcu += c->h * c->v;
    }
    const int ss = bytes.At(at + 1 + 2 * count), se = bytes.At(at + 2 + 2 * count),
              approximation = bytes.At(at + 3 + 2 * count);
    if (approximation < 0 || (count > 1 && blocksInMcu > D_MAX_BLOCKS_IN_MCU)) return false;
    const int ah = approximation >> 4, al = approximation & 15;
    if (progressive_) {
        // What libjpeg refuses as a progression of a scan.
        const bool dc = ss == 0;
        if ((dc && se != 0) || (!dc && (se < ss || se > 63 || count != 1)) ||
            (ah != 0 && al != ah - 1) || al > 13)
            return false;
        scan.kind = dc ? (ah ? ScanKind::DcRefine : ScanKind::DcFirst)
                       : (ah ? ScanKind::AcRefine : ScanKind::AcFirst);
        scan.ss = ss;
        scan.se = se;
        scan.al = al;
    }
    const bool needsDc = scan.kind == ScanKind::DcFirst || scan.kind == ScanKind::Sequential;
    const bool needsAc = scan.kind == ScanKind::AcFirst || scan.kind == ScanKind::AcRefine ||
                         scan.kind == ScanKind::Sequential;
    for (int i = 0; i < count; ++i) {
        if (scan.dcTable[i] > 3 || scan.acTable[i] > 3) return false;
        if (needsDc && (scan.dcTable[i] = TableFor(0, scan.dcTable[i])) < 0) return false;
        if (needsAc && (scan.acTable[i] = TableFor(1, scan.acTable[i])) < 0) return false;
        // libjpeg keeps a component's quantization table as it is at the
        // component's first scan.
        Component& c = components_[scan.component[i]];
        if (!c.quant) {
            if (!quant_[c.quantTable]) return false;
            c.quant = quant_[c.quantTable];
        }
    }
    scan.restartInterval = restartInterval_;
    scans_.push_back(scan);
    return true;
}

// The offset of the marker that ends the entropy-coded data from `at`: the
// first 0xFF that is not a stuffed byte, a restart marker or a fill byte.
std::uint64_t ScanEnd(FileRange& bytes, std::uint64_t at) {
    for (;;) {
        const int b = bytes.At(at);
        if (b < 0) return at;
        if (b != 0xFF) {
            ++at;
            continue;
        }
        const int code = bytes.At(at + 1);
        if (code < 0) return at;
        if (code == 0 || (code >= 0xD0 && code <= 0xD7))
            at += 2;
        else if (code == 0xFF)
            ++at;
        else
            return at;
    }
}

bool Bands::Walk(const ByteReader& file, const jpeg_decompress_struct& header,
                 const JpegLimits& limits) {
    progressive_ = header.progressive_mode;
    const int maxH = header.max_h_samp_factor, maxV = header.max_v_samp_factor;
    mcusPerRow_ = static_cast<int>((header.image_width + 8 * maxH - 1) / (8 * maxH));
    imcuRows_ = static_cast<int>((header.image_height + 8 * maxV - 1) / (8 * maxV));
    for (int i = 0; i < header.num_components; ++i) {
        const jpeg_component_info& info = header.comp_info[i];
        Component c;
        c.id = info.component_id;
        c.h = info.h_samp_factor;
        c.v = info.v_samp_factor;
        c.widthInBlocks = static_cast<int>(info.width_in_blocks);
        c.heightInBlocks = static_cast<int>(info.height_in_blocks);
        c.blocksPerRow = (c.widthInBlocks + c.h - 1) / c.h * c.h;
        c.rows = (c.heightInBlocks + c.v - 1) / c.v * c.v;
        c.quantTable = info.quant_tbl_no & 3;
        c.owner = this;
        components_.push_back(std::move(c));
    }
    for (auto& tableClass : built_)
        tableClass.fill(-1);

    FileRange bytes(file, 0, file.size, 64 * 1024);
    if (bytes.At(0) != 0xFF || bytes.At(1) != 0xD8) return false;
    std::uint64_t at = 2;
    for (;;) {
        // A marker, after any stray bytes and fill bytes, which libjpeg
        // steps over too.
        int b = bytes.At(at);
        while (b >= 0 && b != 0xFF)
            b = bytes.At(++at);
        int code = b;
        while (code == 0xFF)
            code = bytes.At(++at);
        if (code < 0 || code == 0xD9) break; // the end of the file or of the picture
        ++at;
        if (code == 0 || code == 0x01 || (code >= 0xD0 && code <= 0xD8)) continue; // no length
        const int high = bytes.At(at), low = bytes.At(at + 1);
        if (high < 0 || low < 0) break;
        const std::uint64_t length = static_cast<std::uint64_t>(high << 8 | low);
        if (length < 2) return false;
        const std::uint64_t start = at + 2, end = at + length;
        if (code == 0xC4) { // Huffman tables
            for (std::uint64_t p = start; p < end;) {
                const int which = bytes.At(p);
                if (which < 0 || (which >> 4) > 1 || (which & 15) > 3 || p + 17 > end) return false;
                TableBytes table;
                int total = 0;
                for (int i = 0; i < 16; ++i)
                    total += table.counts[i] = static_cast<std::uint8_t>(bytes.At(p + 1 + i));
                if (total > 256 || p + 17 + total > end) return false;
                for (int i = 0; i < total; ++i)
                    table.symbols[i] = static_cast<std::uint8_t>(bytes.At(p + 17 + i));
                defined_[which >> 4][which & 15] = table;
                built_[which >> 4][which & 15] = -1;
                p += 17 + total;
            }
        } else if (code == 0xDB) { // quantization tables
            for (std::uint64_t p = start; p < end;) {
                const int which = bytes.At(p++);
                const int precision = which >> 4, id = which & 15;
                if (which < 0 || precision > 1 || id > 3) return false;
                std::array<UINT16, DCTSIZE2> values;
                values.fill(1); // as libjpeg fills a table cut short
                for (int i = 0; i < DCTSIZE2 && p < end; ++i, p += 1 + precision)
                    values[kNatural[i]] = static_cast<UINT16>(
                        precision ? bytes.At(p) << 8 | bytes.At(p + 1) : bytes.At(p));
                quant_[id] = values;
            }
        } else if (code == 0xDD && length >= 4) { // restart interval
            restartInterval_ = static_cast<unsigned>(bytes.At(start) << 8 | bytes.At(start + 1));
        } else if (code == 0xDA) { // a scan: its header, then its data
            if (!ReadScanHeader(bytes, start, length - 2, limits)) return false;
            if (scans_.size() == 1) headerEnd_ = end;
            scans_.back().begin = end;
            at = scans_.back().end = ScanEnd(bytes, end);
            continue;
        }
        at = end;
    }
    return !scans_.empty() && !bytes.Failed();
}

bool Bands::Allocate(const ByteReader& file, const JpegLimits& limits) {
    // Half the memory for the bands, the rest for libjpeg's drawing and the
    // buffers around it; each scan reads through a buffer of its own.
    const std::size_t scanBuffer = std::clamp<std::size_t>(
        limits.maxDecoderMemory / 8 / scans_.size(), 256, std::size_t{64} * 1024);
    std::size_t rowBytes = 0;
    for (const Component& c : components_)
        rowBytes += static_cast<std::size_t>(c.v) * c.blocksPerRow * kBlockBytes;
    const std::size_t forBands = limits.maxDecoderMemory / 2;
    const std::size_t forScans = scanBuffer * scans_.size();
    if (rowBytes == 0 || forBands < forScans + rowBytes) return false;
    const std::size_t bandBytes = std::min(forBands - forScans, kBandBytes);
    bandRows_ = static_cast<int>(
        std::clamp<std::size_t>(bandBytes / rowBytes, 1, static_cast<std::size_t>(imcuRows_)));
    for (Component& c : components_) {
        const std::size_t rows = static_cast<std::size_t>(bandRows_) * c.v;
        c.band.resize(rows * c.blocksPerRow * DCTSIZE2);
        c.rowStarts.resize(rows);
        for (std::size_t r = 0; r < rows; ++r)
            c.rowStarts[r] =
                reinterpret_cast<JBLOCKROW>(c.band.data() + r * c.blocksPerRow * DCTSIZE2);
    }
    for (Scan& scan : scans_) {
        scan.data = FileRange(file, scan.begin, scan.end, scanBuffer);
        scan.at = scan.begin;
        scan.restartsToGo = scan.restartInterval;
    }
    return true;
}

// --- Decoding a band ------------------------------------------------------

bool Bands::StartMcu(Scan& s) noexcept {
    if (s.restartInterval) {
        if (s.restartsToGo == 0) {
            // Bits left before the marker are padding. Step to the marker
            // (skipping what damaged data leaves before it, as libjpeg does)
            // and past it when it is a restart; only then does data follow,
            // else the scan stays as it ran out (an empty scan with a
            // restart interval of one would otherwise decode every block
            // from zero bits).
            s.bits = 0;
            s.bitCount = s.padding = 0;
            for (;;) {
                const int b = s.data.At(s.at);
                if (b < 0) break;
                const int code = b == 0xFF ? s.data.At(s.at + 1) : -1;
                if (b != 0xFF || code == 0) {
                    s.at += b == 0xFF ? 2 : 1;
                } else if (code == 0xFF) {
                    ++s.at;
                } else {
                    if (code >= 0xD0 && code <= 0xD7) {
                        s.at += 2;
                        s.exhausted = false;
                    }
                    break;
                }
            }
            s.stopped = false;
            s.eobRun = 0;
            s.dc.fill(0);
            s.restartsToGo = s.restartInterval;
        }
        --s.restartsToGo;
    }
    return !s.exhausted;
}

void Bands::EndMcu(Scan& s) noexcept {
    // Once a block has taken bits the data did not have, the rest of the
    // scan (up to a restart) is left as it is: libjpeg does the same.
    if (s.bitCount < s.padding) s.exhausted = true;
}

void Bands::DecodeBlock(Scan& s, int slot, JCOEF* block) noexcept {
    switch (s.kind) {
    case ScanKind::DcFirst: {
        const int size = Decode(s, tables_[s.dcTable[slot]]);
        s.dc[slot] = static_cast<int>(static_cast<unsigned>(s.dc[slot]) +
                                      static_cast<unsigned>(Extend(GetBits(s, size), size)));
        block[0] = Shifted(s.dc[slot], s.al);
        break;
    }
    case ScanKind::DcRefine:
        if (GetBits(s, 1)) block[0] = static_cast<JCOEF>(block[0] | (1 << s.al));
        break;
    case ScanKind::AcFirst: {
        if (s.eobRun > 0) {
            --s.eobRun;
            break;
        }
        const HuffmanTable& table = tables_[s.acTable[slot]];
        for (int k = s.ss; k <= s.se; ++k) {
            if (s.bitCount < 16) Fill(s);
            const std::int32_t fast =
                table.fastAc[static_cast<unsigned>(s.bits >> (s.bitCount - kFastBits)) &
                             ((1u << kFastBits) - 1)];
            if (fast) {
                s.bitCount -= fast & 15;
                k += (fast >> 4) & 15;
                block[kNatural[k]] = Shifted(fast >> 8, s.al);
                continue;
            }
            const int rs = Decode(s, table), run = rs >> 4, size = rs & 15;
            if (size) {
                k += run;
                block[kNatural[k]] = Shifted(Extend(GetBits(s, size), size), s.al);
            } else if (run == 15) {
                k += 15;
            } else {
                s.eobRun = (1 << run) - 1 + static_cast<int>(GetBits(s, run));
                break;
            }
        }
        break;
    }
    case ScanKind::AcRefine: {
        const int plus = 1 << s.al, minus = -plus;
        // A coefficient already set takes a correction bit.
        const auto correct = [&](JCOEF& coefficient) {
            if (GetBits(s, 1) && (coefficient & plus) == 0)
                coefficient = static_cast<JCOEF>(coefficient + (coefficient >= 0 ? plus : minus));
        };
        int k = s.ss;
        if (s.eobRun == 0) {
            const HuffmanTable& table = tables_[s.acTable[slot]];
            for (; k <= s.se; ++k) {
                const int rs = Decode(s, table);
                int run = rs >> 4, value = 0;
                if (rs & 15) {
                    value = GetBits(s, 1) ? plus : minus;
                } else if (run != 15) {
                    s.eobRun = (1 << run) + static_cast<int>(GetBits(s, run));
                    break;
                }
                // Past the coefficients already set (each taking its
                // correction bit) and `run` zero ones.
                do {
                    JCOEF& coefficient = block[kNatural[k]];
                    if (coefficient != 0)
                        correct(coefficient);
                    else if (--run < 0)
                        break;
                    ++k;
                } while (k <= s.se);
                if (value) block[kNatural[k]] = static_cast<JCOEF>(value);
            }
        }
        if (s.eobRun > 0) {
            for (; k <= s.se; ++k)
                if (block[kNatural[k]] != 0) correct(block[kNatural[k]]);
            --s.eobRun;
        }
        break;
    }
    case ScanKind::Sequential: {
        const int size = Decode(s, tables_[s.dcTable[slot]]);
        s.dc[slot] = static_cast<int>(static_cast<unsigned>(s.dc[slot]) +
                                      static_cast<unsigned>(Extend(GetBits(s, size), size)));
        block[0] = static_cast<JCOEF>(s.dc[slot]);
        const HuffmanTable& table = tables_[s.acTable[slot]];
        for (int k = 1; k < DCTSIZE2; ++k) {
            if (s.bitCount < 16) Fill(s);
            const std::int32_t fast =
                table.fastAc[static_cast<unsigned>(s.bits >> (s.bitCount - kFastBits)) &
                             ((1u << kFastBits) - 1)];
            if (fast) {
                s.bitCount -= fast & 15;
                k += (fast >> 4) & 15;
                block[kNatural[k]] = static_cast<JCOEF>(fast >> 8);
                continue;
            }
            const int rs = Decode(s, table), run = rs >> 4, size = rs & 15;
            if (size) {
                k += run;
                block[kNatural[k]] = static_cast<JCOEF>(Extend(GetBits(s, size), size));
            } else if (run == 15) {
                k += 15;
            } else {
                break;
            }
        }
        break;
    }
    }
}

void Bands::DecodeScan(Scan& s) noexcept {
    if (s.count > 1) {
        for (int row = bandStart_; row < bandEnd_; ++row)
            for (int column = 0; column < mcusPerRow_; ++column) {
                if (!StartMcu(s)) continue;
                for (int i = 0; i < s.count; ++i) {
                    Component& c = components_[s.component[i]];
                    for (int y = 0; y < c.v; ++y)
                        for (int x = 0; x < c.h; ++x)
                            DecodeBlock(s, i, Block(c, row * c.v + y, column * c.h + x));
                }
                EndMcu(s);
            }
    } else {
        // One component alone: its blocks row by row, without the padding
        // of whole sampling units.
        Component& c = components_[s.component[0]];
        const int last = std::min(bandEnd_ * c.v, c.heightInBlocks);
        for (int row = bandStart_ * c.v; row < last; ++row)
            for (int column = 0; column < c.widthInBlocks; ++column) {
                if (!StartMcu(s)) continue;
                DecodeBlock(s, 0, Block(c, row, column));
                EndMcu(s);
            }
    }
    if (s.data.Failed()) failed_ = true;
}

void Bands::DecodeNextBand() noexcept {
    bandStart_ = bandEnd_;
    bandEnd_ = std::min(bandStart_ + bandRows_, imcuRows_);
    for (Component& c : components_)
        std::fill(c.band.begin(), c.band.end(), JCOEF{0});
    // Every scan in the order of the file, so each block takes its scans in
    // turn. A file that cannot be read any further (cancelled, or cut
    // behind our back) leaves the rest blank.
    for (Scan& scan : scans_)
        if (!failed_) DecodeScan(scan);
}

// --- libjpeg's side -------------------------------------------------------

Component* Bands::Requested(JDIMENSION blocksPerRow, JDIMENSION rows) noexcept {
    // libjpeg asks for one array a component, in their order.
    if (requests_ >= components_.size()) return nullptr;
    Component& c = components_[requests_++];
    if (blocksPerRow != static_cast<JDIMENSION>(c.blocksPerRow) ||
        rows != static_cast<JDIMENSION>(c.rows))
        return nullptr;
    return &c;
}

JBLOCKARRAY Bands::Rows(Component& c, JDIMENSION start, JDIMENSION count, bool writable) noexcept {
    if (count > static_cast<JDIMENSION>(c.v) || start % c.v) return nullptr;
    // libjpeg's own pass over the cut file's first scan, which has no data:
    // what it writes lands in the band, which is cleared before it is used.
    if (writable) return c.rowStarts.data();
    const int row = static_cast<int>(start / c.v);
    while (row >= bandEnd_ && bandEnd_ < imcuRows_)
        DecodeNextBand();
    if (row < bandStart_ || row >= bandEnd_) return nullptr;
    return c.rowStarts.data() + (start - static_cast<JDIMENSION>(bandStart_ * c.v));
}

jvirt_barray_ptr RequestArray(j_common_ptr info, int, boolean, JDIMENSION blocksPerRow,
                              JDIMENSION rows, JDIMENSION) {
    auto* bands = static_cast<Bands*>(static_cast<JpegClient*>(info->client_data)->bands);
    Component* c = bands ? bands->Requested(blocksPerRow, rows) : nullptr;
    if (!c) ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    return reinterpret_cast<jvirt_barray_ptr>(c);
}

JBLOCKARRAY AccessArray(j_common_ptr info, jvirt_barray_ptr array, JDIMENSION start,
                        JDIMENSION count, boolean writable) {
    auto* c = reinterpret_cast<Component*>(array);
    JBLOCKARRAY rows = c->owner->Rows(*c, start, count, writable != FALSE);
    if (!rows) ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    return rows;
}

void Bands::Install(jpeg_decompress_struct& info) {
    // The quantization tables as the file has them at each component's
    // first scan, also for components whose first scan libjpeg never sees.
    for (std::size_t i = 0; i < components_.size(); ++i) {
        if (!components_[i].quant) continue;
        JQUANT_TBL* table = jpeg_alloc_quant_table(reinterpret_cast<j_common_ptr>(&info));
        std::copy(components_[i].quant->begin(), components_[i].quant->end(), table->quantval);
        info.comp_info[i].quant_table = table;
    }
    // Smoothing guesses coefficients of an unfinished file from the rows
    // around; with the scans all decoded there is nothing to guess.
    info.do_block_smoothing = FALSE;
    info.mem->request_virt_barray = RequestArray;
    info.mem->access_virt_barray = AccessArray;
}

} // namespace

std::unique_ptr<CoefficientBands> CoefficientBands::Open(const ByteReader& file,
                                                         const jpeg_decompress_struct& header,
                                                         const JpegLimits& limits) {
    if (header.arith_code || header.num_components < 1 || header.num_components > MAX_COMPONENTS)
        return nullptr;
    std::uint64_t coefficients = 0;
    for (int i = 0; i < header.num_components; ++i) {
        const jpeg_component_info& c = header.comp_info[i];
        const auto roundUp = [](std::uint64_t n, int unit) { return (n + unit - 1) / unit * unit; };
        coefficients += roundUp(c.width_in_blocks, c.h_samp_factor) *
                        roundUp(c.height_in_blocks, c.v_samp_factor) * kBlockBytes;
    }
    if (coefficients > limits.maxCoefficientBytes) return nullptr;
    try {
        auto bands = std::make_unique<Bands>();
        if (!bands->Walk(file, header, limits) || !bands->Allocate(file, limits)) return nullptr;
        return bands;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace orv::imaging
