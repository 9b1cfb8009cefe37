#include "imaging/icc_profile.h"

#include "imaging/jpeg_segments.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <new>

namespace orv::imaging {
namespace {

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
        if (ReadFileBytes(file, chunk.offset, profile.data() + filled, size) != size) return {};
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
    return JpegIccProfile(file, ReadJpegMarkers(file).iccChunks);
}

std::vector<std::uint8_t> JpegIccProfile(const ByteReader& file,
                                         const std::optional<std::vector<IccChunk>>& chunks) {
    if (!chunks) return {};
    const auto ordered = OrderIccChunks(*chunks, file.size);
    if (!ordered) return {};
    return UsableSourceProfile(ReadChunks(file, *ordered));
}

std::vector<std::uint8_t> ReadBmpIccProfile(const ByteReader& file) {
    // The file header (14 bytes), then a V5 info header of 124 bytes or more:
    // the colour space type at 56, the profile's offset and size at 112.
    constexpr std::size_t kFileHeader = 14, kV5Header = 124;
    std::uint8_t head[kFileHeader + kV5Header];
    if (ReadFileBytes(file, 0, head, sizeof head) != sizeof head || head[0] != 'B' ||
        head[1] != 'M')
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
