// Minimal matrix/TRC RGB display profiles (ICC version 2) of our own, for
// tests of the profile extraction and the colour conversion: sRGB, an
// Adobe RGB (1998) compatible one, and sRGB with the red and green columns
// swapped, whose conversion to sRGB swaps the two channels back.
#pragma once
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace orv::testing {

// The XYZ (D50) of each primary at full strength.
struct RgbPrimaries {
    std::array<double, 3> red, green, blue;
};
constexpr RgbPrimaries kSrgbPrimaries{
    {0.4361, 0.2225, 0.0139}, {0.3851, 0.7169, 0.0971}, {0.1431, 0.0606, 0.7141}};
constexpr RgbPrimaries kAdobePrimaries{
    {0.6097, 0.3111, 0.0195}, {0.2053, 0.6257, 0.0609}, {0.1492, 0.0632, 0.7446}};
constexpr RgbPrimaries kSwappedPrimaries{kSrgbPrimaries.green, kSrgbPrimaries.red,
                                         kSrgbPrimaries.blue};

// gamma 0: the sRGB curve; otherwise a pure power law.
struct ProfileParams {
    RgbPrimaries primaries = kSrgbPrimaries;
    double gamma = 0;
    std::string description = "Test RGB";
};

inline std::vector<std::uint8_t> MakeRgbProfile(const ProfileParams& params) {
    std::vector<std::uint8_t> out(128, 0);
    const auto put32 = [](std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
        if (v.size() < at + 4) v.resize(at + 4);
        for (int i = 0; i < 4; ++i)
            v[at + i] = static_cast<std::uint8_t>(x >> (24 - 8 * i));
    };
    const auto sig = [](const char* s) {
        return std::uint32_t(std::uint8_t(s[0])) << 24 | std::uint32_t(std::uint8_t(s[1])) << 16 |
               std::uint32_t(std::uint8_t(s[2])) << 8 | std::uint8_t(s[3]);
    };
    const auto fixed = [](double v) { return static_cast<std::uint32_t>(std::lround(v * 65536)); };
    const auto xyz = [&](const std::array<double, 3>& v) {
        std::vector<std::uint8_t> t(8, 0);
        put32(t, 0, sig("XYZ "));
        for (int i = 0; i < 3; ++i)
            put32(t, 8 + 4 * i, fixed(v[i]));
        return t;
    };
    std::vector<std::uint8_t> curve(12, 0);
    put32(curve, 0, sig("curv"));
    const int points = params.gamma > 0 ? 1 : 1024;
    put32(curve, 8, points);
    for (int i = 0; i < points; ++i) {
        const double x = i / 1023.0;
        const double y = x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        const auto v = params.gamma > 0
                           ? static_cast<std::uint16_t>(std::lround(params.gamma * 256))
                           : static_cast<std::uint16_t>(std::lround(y * 65535));
        curve.push_back(static_cast<std::uint8_t>(v >> 8));
        curve.push_back(static_cast<std::uint8_t>(v));
    }
    std::vector<std::uint8_t> desc(12, 0);
    put32(desc, 0, sig("desc"));
    put32(desc, 8, static_cast<std::uint32_t>(params.description.size() + 1));
    desc.insert(desc.end(), params.description.begin(), params.description.end());
    desc.resize(desc.size() + 1 + 4 + 4 + 2 + 1 + 67, 0);
    const std::array<double, 3> white = {0.9642, 1.0, 0.8249};

    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> tags = {
        {"desc", desc},
        {"wtpt", xyz(white)},
        {"rXYZ", xyz(params.primaries.red)},
        {"gXYZ", xyz(params.primaries.green)},
        {"bXYZ", xyz(params.primaries.blue)},
        {"rTRC", curve},
        {"gTRC", curve},
        {"bTRC", curve}};
    put32(out, 128, static_cast<std::uint32_t>(tags.size()));
    std::size_t at = 132 + 12 * tags.size();
    out.resize(at, 0);
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const auto& data = tags[i].second;
        put32(out, 132 + 12 * i, sig(tags[i].first));
        put32(out, 136 + 12 * i, static_cast<std::uint32_t>(at));
        put32(out, 140 + 12 * i, static_cast<std::uint32_t>(data.size()));
        out.insert(out.end(), data.begin(), data.end());
        out.resize((out.size() + 3) & ~std::size_t{3}, 0);
        at = out.size();
    }
    put32(out, 0, static_cast<std::uint32_t>(out.size()));
    put32(out, 8, 0x02100000);
    put32(out, 12, sig("mntr"));
    put32(out, 16, sig("RGB "));
    put32(out, 20, sig("XYZ "));
    put32(out, 36, sig("acsp"));
    for (int i = 0; i < 3; ++i)
        put32(out, 68 + 4 * i, fixed(white[i]));
    return out;
}

// An APP2 segment (marker, length, "ICC_PROFILE\0", sequence, count) with
// one chunk of a profile.
inline std::vector<std::uint8_t> IccSegment(const std::vector<std::uint8_t>& chunk, int sequence,
                                            int count) {
    const std::size_t length = 2 + 14 + chunk.size();
    std::vector<std::uint8_t> s = {0xFF,
                                   0xE2,
                                   static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length),
                                   'I',
                                   'C',
                                   'C',
                                   '_',
                                   'P',
                                   'R',
                                   'O',
                                   'F',
                                   'I',
                                   'L',
                                   'E',
                                   0,
                                   static_cast<std::uint8_t>(sequence),
                                   static_cast<std::uint8_t>(count)};
    const std::size_t head = s.size();
    s.resize(head + chunk.size());
    std::copy(chunk.begin(), chunk.end(), s.begin() + static_cast<std::ptrdiff_t>(head));
    return s;
}

// `profile` cut into `count` pieces of about equal size.
inline std::vector<std::vector<std::uint8_t>> SplitProfile(const std::vector<std::uint8_t>& profile,
                                                           int count) {
    std::vector<std::vector<std::uint8_t>> pieces;
    const std::size_t per = (profile.size() + count - 1) / count;
    for (int i = 0; i < count; ++i) {
        const std::size_t from = std::min(profile.size(), per * i);
        const std::size_t to = std::min(profile.size(), from + per);
        pieces.emplace_back(profile.begin() + from, profile.begin() + to);
    }
    return pieces;
}

// A JPEG with `segments` (whole marker segments) right after its start marker.
inline std::vector<std::uint8_t>
WithSegments(std::vector<std::uint8_t> jpeg,
             const std::vector<std::vector<std::uint8_t>>& segments) {
    std::vector<std::uint8_t> all;
    for (const auto& s : segments)
        all.insert(all.end(), s.begin(), s.end());
    jpeg.insert(jpeg.begin() + 2, all.begin(), all.end());
    return jpeg;
}

} // namespace orv::testing
