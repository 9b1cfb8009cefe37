// The ICC colour profiles that pictures carry: found in a JPEG's APP2
// "ICC_PROFILE" segments (reassembled from chunks in any order) or a BMP V5
// header, and checked before the colour system sees them. A picture whose
// profile is missing, damaged or of a kind the conversion cannot handle is
// drawn as sRGB, as untagged pictures are. Hostile bytes never lead outside
// the data given. Used by the picture inspector and the Windows colour
// conversion; free of platform types.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "imaging/jpeg_segments.h"
#include "imaging/picture_types.h"

namespace orv::imaging {

// Real profiles of pictures and monitors take a few hundred bytes to about a
// megabyte; anything outside these bounds is taken as damaged.
constexpr std::size_t kMinIccProfileBytes = 128 + 4; // the header and a tag count
constexpr std::size_t kMaxIccProfileBytes = std::size_t{4} << 20;

// What a profile is for: the source of a picture's colours (a monitor,
// scanner or colour-space profile of RGB data), or the target of the
// conversion (a monitor profile of RGB data).
enum class ProfileUse { PictureSource, DisplayTarget };

// Whether `profile` can be handed to the colour system for `use`: within the
// size bounds, its declared size equal to its length, the "acsp" signature,
// version 2 to 4, a fitting device class, RGB data, an XYZ or Lab connection
// space, and a tag table whose every entry lies inside the profile.
bool IsUsableProfile(std::span<const std::uint8_t> profile, ProfileUse use);

// Puts the chunks in order: their data offsets and sizes in sequence order,
// or nothing when the set is inconsistent (no chunks, counts that differ, a
// sequence number of 0 or past the count, a duplicate, a missing chunk, a
// chunk reaching past `fileSize`, more than kMaxIccProfileBytes in all).
std::optional<std::vector<IccChunk>> OrderIccChunks(std::vector<IccChunk> chunks,
                                                    std::uint64_t fileSize);

// The profile embedded in the JPEG in `file`: the APP2 segments from the
// start of the picture up to its first scan are walked, their chunks
// ordered and read. Empty when there is none, the set is inconsistent, the
// walk gives up (a few hundred segments, a run of stray bytes), or the
// profile is not usable as a picture's source.
std::vector<std::uint8_t> ReadJpegIccProfile(const ByteReader& file);
// The same from the chunks a walk found (jpeg_segments.h).
std::vector<std::uint8_t> JpegIccProfile(const ByteReader& file,
                                         const std::optional<std::vector<IccChunk>>& chunks);

// The profile embedded in the BMP in `file`: a V5 header whose colour space
// type is "MBED", the profile at its offset from the start of that header.
// Empty for any other header or colour space (a linked profile, "LINK",
// names a file elsewhere, which a picture must not make us open), a profile
// outside the file, or one not usable as a picture's source.
std::vector<std::uint8_t> ReadBmpIccProfile(const ByteReader& file);

// A profile handed over whole (as the system's decoder reports it): the
// profile when usable as a picture's source, else empty.
std::vector<std::uint8_t> UsableSourceProfile(std::vector<std::uint8_t> profile);

// What the show's pictures are converted to: sRGB, or the monitor's own
// profile.
enum class ColorTarget { Srgb, Monitor };

// The target for a monitor whose profile, as Windows names it, is
// `monitorProfilePath` with the bytes `monitorProfile` (empty when none is
// set or it could not be read). The monitor's profile is taken when the user
// set one of their own: a usable display profile that is not Windows'
// standard sRGB profile (which Windows names when nothing is set).
ColorTarget ChooseColorTarget(std::string_view monitorProfilePath,
                              std::span<const std::uint8_t> monitorProfile);

} // namespace orv::imaging
