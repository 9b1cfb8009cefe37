#include "imaging/icc_profile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <new>

namespace orv::imaging {
namespace {

constexpr std::uint8_t kIccIdentifier[12] = {'I', 'C', 'C', '_', 'P', 'R',
                                             'O', 'F', 'I', 'L', 'E', 0};
constexpr std::size_t kChunkHeader = sizeof kIccIdentifier + 2; // identifier, sequence, count
constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kTagEntry = 12;

constexpr std::uint32_t Signature(const char (&s)[5]) {
    return std::uint32_t{static_cast<std::uint8_t>(s[0])} << 24 |
           std::uint32_t{static_cast<std::uint8_t>(s[1])} << 16 |
           std::uint32_t{static_cast<std::uint8_t>(s[2])} << 8 | static_cast<std::uint8_t>(s[3]);
}

std::uint32_t Big32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

std::uint32_t Little32(const std::uint8_t* p) {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

// Copies up to `count` bytes from `offset`, asking the reader as often as it
// takes; how many it copied. A reader that throws reads as ended.
std::size_t ReadAt(const ByteReader& file, std::uint64_t offset, std::uint8_t* dest,
                   std::size_t count) {
    std::size_t done = 0;
    try {
        while (done < count && file.read && offset + done < file.size) {
            const std::size_t n = file.read(offset + done, dest + done, count - done);
            if (n == 0) break;
            done += std::min(n, count - done);
        }
    } catch (const std::exception&) {
    }
    return done;
}

// Reads a file in small windows, so that walking markers byte by byte does
// not ask the reader for each byte.
class FileCursor {
  public:
    explicit FileCursor(const ByteReader& file) : file_(file) {}

    // The byte at `offset`, or -1 past the end or on a read error.
    int At(std::uint64_t offset) {
        if (offset < start_ || offset >= start_ + filled_) {
            start_ = offset;
            filled_ = ReadAt(file_, offset, window_.data(), window_.size());
            if (filled_ == 0) return -1;
        }
        return window_[static_cast<std::size_t>(offset - start_)];
    }

  private:
    const ByteReader& file_;
    std::array<std::uint8_t, 512> window_{};
    std::uint64_t start_ = 0;
    std::size_t filled_ = 0;
};

// A real file has a dozen or two segments before its first scan (a profile
// takes at most 255 of them) and no stray bytes; past these the file is
// taken as hostile.
constexpr int kMaxSegments = 600;
constexpr int kMaxStrayBytes = 64 * 1024;

// The ICC chunks among the JPEG's segments before its first scan; nothing
// when it is not a JPEG or the walk gives up.
std::optional<std::vector<IccChunk>> FindJpegIccChunks(const ByteReader& file) {
    FileCursor cursor(file);
    if (cursor.At(0) != 0xFF || cursor.At(1) != 0xD8) return std::nullopt;
    std::vector<IccChunk> chunks;
    std::uint64_t at = 2;
    int stray = 0;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        // A marker is 0xFF and a code, after any number of fill bytes 0xFF;
        // stray bytes before it are stepped over, as libjpeg does.
        int code = cursor.At(at);
        while (code != 0xFF) {
            if (code < 0 || ++stray > kMaxStrayBytes) return std::nullopt;
            code = cursor.At(++at);
        }
        while (code == 0xFF) {
            if (++stray > kMaxStrayBytes) return std::nullopt;
            code = cursor.At(++at);
        }
        if (code < 0) return std::nullopt;
        ++at;
        --stray; // the 0xFF just before the code belonged to the marker
        if (code == 0xDA || code == 0xD9) return chunks; // first scan or end of picture
        if (code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD8)) continue;
        const int high = cursor.At(at), low = cursor.At(at + 1);
        if (high < 0 || low < 0) return std::nullopt;
        const std::uint64_t length = static_cast<std::uint64_t>(high << 8 | low);
        if (length < 2) return std::nullopt;
        if (code == 0xE2 && length >= 2 + kChunkHeader) {
            std::uint8_t head[kChunkHeader];
            if (ReadAt(file, at + 2, head, sizeof head) == sizeof head &&
                std::memcmp(head, kIccIdentifier, sizeof kIccIdentifier) == 0)
                chunks.push_back({.sequence = head[12],
                                  .count = head[13],
                                  .offset = at + 2 + kChunkHeader,
                                  .size = length - 2 - kChunkHeader});
        }
        at += length;
    }
    return std::nullopt;
}

// Reads `chunks` (in order, checked to lie inside the file) one after the
// other; empty when the file reads short or memory runs out.
std::vector<std::uint8_t> ReadChunks(const ByteReader& file, const std::vector<IccChunk>& chunks) {
    std::uint64_t total = 0;
    for (const IccChunk& chunk : chunks)
        total += chunk.size;
    std::vector<std::uint8_t> profile;
    try {
        profile.resize(static_cast<std::size_t>(total));
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::size_t filled = 0;
    for (const IccChunk& chunk : chunks) {
        const auto size = static_cast<std::size_t>(chunk.size);
        if (ReadAt(file, chunk.offset, profile.data() + filled, size) != size) return {};
        filled += size;
    }
    return profile;
}

bool IsStandardSrgbName(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::string_view kStandard = "srgb color space profile.icm";
    return std::equal(name.begin(), name.end(), kStandard.begin(), kStandard.end(),
                      [](char a, char b) {
                          return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
                      });
}

} // namespace

bool IsUsableProfile(std::span<const std::uint8_t> profile, ProfileUse use) {
    if (profile.size() < kMinIccProfileBytes || profile.size() > kMaxIccProfileBytes) return false;
    const std::uint8_t* p = profile.data();
    if (Big32(p) != profile.size() || Big32(p + 36) != Signature("acsp")) return false;
    if (p[8] < 2 || p[8] > 4) return false;
    const std::uint32_t deviceClass = Big32(p + 12);
    const bool classFits = use == ProfileUse::DisplayTarget
                               ? deviceClass == Signature("mntr")
                               : deviceClass == Signature("mntr") ||
                                     deviceClass == Signature("scnr") ||
                                     deviceClass == Signature("spac");
    if (!classFits || Big32(p + 16) != Signature("RGB ")) return false;
    const std::uint32_t connection = Big32(p + 20);
    if (connection != Signature("XYZ ") && connection != Signature("Lab ")) return false;
    const std::uint64_t tags = Big32(p + kHeaderSize);
    if (tags == 0 || tags > (profile.size() - kMinIccProfileBytes) / kTagEntry) return false;
    for (std::uint64_t i = 0; i < tags; ++i) {
        const std::uint8_t* entry = p + kMinIccProfileBytes + i * kTagEntry;
        const std::uint64_t offset = Big32(entry + 4), size = Big32(entry + 8);
        if (offset < kMinIccProfileBytes || offset + size > profile.size()) return false;
    }
    return true;
}

std::optional<std::vector<IccChunk>> OrderIccChunks(std::vector<IccChunk> chunks,
                                                    std::uint64_t fileSize) {
    if (chunks.empty()) return std::nullopt;
    const int count = chunks.front().count;
    if (count < 1 || static_cast<std::size_t>(count) != chunks.size()) return std::nullopt;
    std::sort(chunks.begin(), chunks.end(),
              [](const IccChunk& a, const IccChunk& b) { return a.sequence < b.sequence; });
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const IccChunk& chunk = chunks[i];
        // Sorted, a complete set without duplicates numbers exactly 1 to count.
        if (chunk.count != count || chunk.sequence != static_cast<int>(i) + 1) return std::nullopt;
        if (chunk.offset > fileSize || chunk.size > fileSize - chunk.offset) return std::nullopt;
        total += chunk.size;
        if (total > kMaxIccProfileBytes) return std::nullopt;
    }
    return chunks;
}

std::vector<std::uint8_t> ReadJpegIccProfile(const ByteReader& file) {
    const auto found = FindJpegIccChunks(file);
    if (!found) return {};
    const auto ordered = OrderIccChunks(*found, file.size);
    if (!ordered) return {};
    return UsableSourceProfile(ReadChunks(file, *ordered));
}

std::vector<std::uint8_t> ReadBmpIccProfile(const ByteReader& file) {
    // The file header (14 bytes), then a V5 info header of 124 bytes or more:
    // the colour space type at 56, the profile's offset and size at 112.
    constexpr std::size_t kFileHeader = 14, kV5Header = 124;
    std::uint8_t head[kFileHeader + kV5Header];
    if (ReadAt(file, 0, head, sizeof head) != sizeof head || head[0] != 'B' || head[1] != 'M')
        return {};
    const std::uint8_t* info = head + kFileHeader;
    if (Little32(info) < kV5Header || Little32(info + 56) != Signature("MBED")) return {};
    const std::uint64_t offset = kFileHeader + std::uint64_t{Little32(info + 112)};
    const std::uint64_t size = Little32(info + 116);
    if (size < kMinIccProfileBytes || size > kMaxIccProfileBytes || offset > file.size ||
        size > file.size - offset)
        return {};
    return UsableSourceProfile(
        ReadChunks(file, {{.sequence = 1, .count = 1, .offset = offset, .size = size}}));
}

std::vector<std::uint8_t> UsableSourceProfile(std::vector<std::uint8_t> profile) {
    if (!IsUsableProfile(profile, ProfileUse::PictureSource)) return {};
    return profile;
}

ColorTarget ChooseColorTarget(std::string_view monitorProfilePath,
                              std::span<const std::uint8_t> monitorProfile) {
    if (monitorProfilePath.empty() || IsStandardSrgbName(monitorProfilePath) ||
        !IsUsableProfile(monitorProfile, ProfileUse::DisplayTarget))
        return ColorTarget::Srgb;
    return ColorTarget::Monitor;
}

} // namespace orv::imaging
