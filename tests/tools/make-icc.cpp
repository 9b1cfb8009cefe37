// Writes one of our own test colour profiles (tests/support/icc_profile_maker.h)
// to a file, for the end-to-end scripts and the benchmarks.
// Usage: make-icc srgb|adobe|swap|prophoto|widegamut FILE
// Built by the end-to-end scripts and bench/run with g++.
#include <cstdio>
#include <cstring>

#include "support/icc_profile_maker.h"

int main(int argc, char** argv) {
    using namespace orv::testing;
    if (argc != 3) return 2;
    ProfileParams params;
    if (std::strcmp(argv[1], "srgb") == 0) {
        params.description = "sRGB (test)";
    } else if (std::strcmp(argv[1], "adobe") == 0) {
        params = {kAdobePrimaries, 563.0 / 256, "Adobe RGB (1998) compatible (test)"};
    } else if (std::strcmp(argv[1], "swap") == 0) {
        params = {kSwappedPrimaries, 0, "sRGB, red and green swapped (test)"};
    } else if (std::strcmp(argv[1], "prophoto") == 0) {
        // The primaries' XYZ (D50) of ProPhoto RGB and Wide Gamut RGB.
        params = {{{0.7977, 0.2880, 0.0}, {0.1352, 0.7119, 0.0}, {0.0313, 0.0001, 0.8249}},
                  1.8,
                  "ProPhoto RGB compatible (test)"};
    } else if (std::strcmp(argv[1], "widegamut") == 0) {
        params = {{{0.7162, 0.2587, 0.0}, {0.1010, 0.7247, 0.0512}, {0.1468, 0.0166, 0.7739}},
                  2.2,
                  "Wide Gamut RGB compatible (test)"};
    } else {
        return 2;
    }
    const auto profile = MakeRgbProfile(params);
    FILE* f = std::fopen(argv[2], "wb");
    if (!f) return 1;
    const bool written = std::fwrite(profile.data(), 1, profile.size(), f) == profile.size();
    return std::fclose(f) == 0 && written ? 0 : 1;
}
