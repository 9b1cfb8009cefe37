#include "settings/settings_layout.h"

#include <cmath>

namespace orv::settings_layout {
namespace {

constexpr Align L = Align::Left, R = Align::Right;

// clang-format off
constexpr Control kControls[] = {
    {"txtPicturesPath", kPicturesPath, Kind::TextField, true, 1920, 240, 3360, 285, "", "", 0, L, 0, false},
    {"txtDisplayTime", kDisplayTime, Kind::TextField, true, 1920, 540, 855, 285, "", "", 1, R, 5, false},
    {"chkShowClock", kShowClock, Kind::CheckBox, true, 2040, 840, 255, 285, "", "", 2, L, 0, false},
    {"txtScalePercentage", kScalePercentage, Kind::TextField, true, 1920, 1140, 495, 285, "", "", 3, R, 3, false},
    {"txtMPEGFile", kMPEGFile, Kind::TextField, true, 1920, 1440, 3360, 285, "", "", 4, L, 0, false},
    {"cmdOk", kOk, Kind::Button, false, 1560, 2040, 1455, 375, "&OK", "", 5, L, 0, false},
    {"cmdCancel", kCancel, Kind::Button, false, 3720, 2040, 1455, 375, "&Cancel", "", 6, L, 0, false},
    {"cmdSelectPath", kSelectPath, Kind::SmallButton, true, 5280, 240, 375, 285, "...", "Browse", 15, L, 0, false},
    {"cmdPlay", kPlay, Kind::SmallButton, true, 5640, 1440, 375, 285, "&P", "Play", 16, L, 0, false},
    {"cmdStop", kStop, Kind::SmallButton, true, 6000, 1440, 375, 285, "&S", "Stop", 17, L, 0, false},
    {"cmdSelectMPEGFile", kSelectMPEGFile, Kind::SmallButton, true, 5280, 1440, 375, 285, "...", "Browse", 18, L, 0, false},
    {"cmdPrev", kPrev, Kind::SmallButton, false, 5760, 1200, 375, 285, "&B", "Back", 19, L, 0, true},
    {"cmdNext", kNext, Kind::SmallButton, false, 6120, 1200, 375, 285, "&N", "Next", 20, L, 0, true},
    {"Label1(0)", 131, Kind::Label, true, 120, 240, 1815, 285, " Pictures Path :", "", -1, R, 0, false},
    {"Label1(1)", 132, Kind::Label, true, 120, 540, 1815, 285, " Display Time :", "", -1, R, 0, false},
    {"Label1(2)", 133, Kind::Label, true, 120, 840, 1815, 285, " Show Clock :", "", -1, R, 0, false},
    {"Label1(3)", 134, Kind::Label, true, 120, 1140, 1815, 285, " Scale :", "", -1, R, 0, false},
    {"Label1(4)", 135, Kind::Label, true, 120, 1440, 1815, 285, " WAV/MP3/M3U File :", "", -1, R, 0, false},
    {"Label2", 136, Kind::Label, true, 2880, 560, 855, 255, "seconds", "", -1, L, 0, false},
    {"Label3", 137, Kind::Label, true, 2520, 1140, 255, 255, "%", "", -1, L, 0, false},
    {"frm", kFrame, Kind::Frame, false, kFrameLeft, kFrameTop, 6495, 1815, "", "", -1, L, 0, false},
};
// clang-format on

} // namespace

std::span<const Control> Controls() {
    return kControls;
}

const Control* Find(int id) {
    for (const auto& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}

int TwipsToPixels(int twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

PixelRect ToPixels(const Control& control, double twipsPerPixelX, double twipsPerPixelY) {
    const int left = control.left + (control.inFrame ? kFrameLeft : 0);
    const int top = control.top + (control.inFrame ? kFrameTop : 0);
    // Edges are rounded, not sizes, so neighbours that touch in twips touch in pixels.
    const int x = TwipsToPixels(left, twipsPerPixelX);
    const int y = TwipsToPixels(top, twipsPerPixelY);
    return {x, y, TwipsToPixels(left + control.width, twipsPerPixelX) - x,
            TwipsToPixels(top + control.height, twipsPerPixelY) - y};
}

} // namespace orv::settings_layout
