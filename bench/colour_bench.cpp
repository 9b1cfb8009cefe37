// Measures what the colour conversion of a tagged picture adds to a change
// and prints figures; it asserts nothing. bench/run generates the inputs.
//   colour_bench TAGGED UNTAGGED [RUNS]  a change (open, fit to the screen,
//       render) of the same photo with and without an embedded profile, and
//       the conversion of the whole box-sized picture on its own (the
//       show converts each row as it is drawn, while the next are decoded).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/picture_decoder.h"
#include "win32/color_transform.h"
#include "win32/file_reader.h"
#include "win32/picture_file.h"

using namespace orv::win32;

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return t.QuadPart * 1000.0 / f.QuadPart;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The box the show fits a picture of `natural` pixels to on the screen.
SIZE Box(SIZE natural) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const double f =
        std::min(static_cast<double>(sw) / natural.cx, static_cast<double>(sh) / natural.cy);
    return {std::max(1, static_cast<int>(natural.cx * f)),
            std::max(1, static_cast<int>(natural.cy * f))};
}

// One change of `path`: milliseconds, or -1 when it failed.
double Change(const std::wstring& path) {
    const double t0 = Now();
    const auto picture = PictureFile::Open(path);
    if (!picture) return -1;
    const orv::platform::PictureSize natural = picture->NaturalSize();
    const SIZE box = Box({static_cast<LONG>(natural.width), static_cast<LONG>(natural.height)});
    if (!picture->Draw(box.cx, box.cy)) return -1;
    return Now() - t0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: colour_bench TAGGED UNTAGGED [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
    const auto file = FileReader::Open(argv[1]);
    const auto info = file ? orv::imaging::InspectPicture(file->Reader()) : std::nullopt;
    if (!info || info->iccProfile.empty()) {
        std::fprintf(stderr, "colour_bench: the first picture has no usable profile\n");
        return 1;
    }
    std::vector<double> tagged, untagged, conversion;
    const SIZE box = Box({info->upright.width, info->upright.height});
    // The photo's own pixels at the box's size, as the conversion meets them.
    std::vector<std::uint8_t> drawn(static_cast<std::size_t>(box.cx) * box.cy * 4), pixels;
    const auto plain = OpenPictureFile(argv[2]);
    if (!plain || !plain->RenderInto(box.cx, box.cy, drawn.data(), box.cx * std::size_t{4})) {
        std::fprintf(stderr, "colour_bench: the second picture cannot be drawn at %dx%d\n",
                     static_cast<int>(box.cx), static_cast<int>(box.cy));
        return 1;
    }
    for (int i = 0; i < runs; ++i) {
        untagged.push_back(Change(argv[2]));
        tagged.push_back(Change(argv[1]));
        pixels = drawn;
        const double t0 = Now();
        SystemColorConversion(info->iccProfile, ColorDestination::Screen)
            .Apply(pixels.data(), box.cx, box.cy, static_cast<std::size_t>(box.cx) * 4);
        conversion.push_back(Now() - t0);
    }
    const double change = Median(untagged), withColours = Median(tagged);
    const double added = withColours - change;
    std::printf("colour conversion, %dx%d box, median of %d: change untagged %.1f ms, tagged "
                "%.1f ms: the conversion adds %.1f ms = %.1f %% (target <= 10 %%); converting "
                "the drawn box afterwards would take %.1f ms\n",
                static_cast<int>(box.cx), static_cast<int>(box.cy), runs, change, withColours,
                added, change > 0 ? 100 * added / change : 0, Median(conversion));
    return 0;
}
