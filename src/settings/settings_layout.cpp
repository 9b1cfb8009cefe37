#include "settings/settings_layout.h"

namespace orv::settings {
namespace {

using C = platform::SettingsControl;
constexpr Align L = Align::Left, R = Align::Right;
constexpr std::optional<C> kNone;

// clang-format off
constexpr Control kControls[] = {
    {101, C::PicturesPath, Kind::TextField, true, 1920, 240, 3360, 285, "", "", 0, L, 0, false},
    {102, C::DisplayTime, Kind::TextField, true, 1920, 540, 855, 285, "", "", 1, R, 5, false},
    {103, C::ShowClock, Kind::CheckBox, true, 2040, 840, 255, 285, "", "", 2, L, 0, false},
    {104, C::ScalePercentage, Kind::TextField, true, 1920, 1140, 495, 285, "", "", 3, R, 3, false},
    {105, C::MusicFile, Kind::TextField, true, 1920, 1440, 3360, 285, "", "", 4, L, 0, false},
    {1, C::Ok, Kind::Button, false, 1560, 2040, 1455, 375, "&OK", "", 5, L, 0, false},
    {2, C::Cancel, Kind::Button, false, 3720, 2040, 1455, 375, "&Cancel", "", 6, L, 0, false},
    {115, C::SelectPath, Kind::SmallButton, true, 5280, 240, 375, 285, "...", "Browse", 15, L, 0, false},
    {116, C::Play, Kind::SmallButton, true, 5640, 1440, 375, 285, "&P", "Play", 16, L, 0, false},
    {117, C::Stop, Kind::SmallButton, true, 6000, 1440, 375, 285, "&S", "Stop", 17, L, 0, false},
    {118, C::SelectMusicFile, Kind::SmallButton, true, 5280, 1440, 375, 285, "...", "Browse", 18, L, 0, false},
    {119, C::Back, Kind::SmallButton, false, 5760, 1200, 375, 285, "&B", "Back", 19, L, 0, true},
    {120, C::Next, Kind::SmallButton, false, 6120, 1200, 375, 285, "&N", "Next", 20, L, 0, true},
    {131, kNone, Kind::Label, true, 120, 240, 1815, 285, " Pictures Path :", "", -1, R, 0, false},
    {132, kNone, Kind::Label, true, 120, 540, 1815, 285, " Display Time :", "", -1, R, 0, false},
    {133, kNone, Kind::Label, true, 120, 840, 1815, 285, " Show Clock :", "", -1, R, 0, false},
    {134, kNone, Kind::Label, true, 120, 1140, 1815, 285, " Scale :", "", -1, R, 0, false},
    {135, kNone, Kind::Label, true, 120, 1440, 1815, 285, " WAV/MP3/M3U File :", "", -1, R, 0, false},
    {136, kNone, Kind::Label, true, 2880, 560, 855, 255, "seconds", "", -1, L, 0, false},
    {137, kNone, Kind::Label, true, 2520, 1140, 255, 255, "%", "", -1, L, 0, false},
    {130, kNone, Kind::Frame, false, kFrameLeft, kFrameTop, 6495, 1815, "", "", -1, L, 0, false},
};
// clang-format on

} // namespace

std::span<const Control> Controls() {
    return kControls;
}

const Control* FindById(int id) {
    for (const auto& c : kControls)
        if (c.id == id) return &c;
    return nullptr;
}

// Every focus-taking control is in the table, so Find always finds one.
constexpr bool Listed(platform::SettingsControl control) {
    for (const auto& c : kControls)
        if (c.control == control) return true;
    return false;
}
static_assert([] {
    for (int i = 0; i <= static_cast<int>(platform::SettingsControl::Next); ++i)
        if (!Listed(static_cast<platform::SettingsControl>(i))) return false;
    return true;
}());

const Control& Find(platform::SettingsControl control) {
    const Control* found = kControls;
    while (found->control != control)
        ++found;
    return *found;
}

ControlShape ShapeOf(const Control& c) {
    const bool focusable = c.tabIndex >= 0;
    // By Kind: Frame, Label, TextField, CheckBox, Button, SmallButton.
    constexpr Look kLooks[] = {Look::GroupBox,      Look::Label,      Look::Field,
                               Look::ThreeStateBox, Look::PushButton, Look::PushButton};
    const bool isDefault = c.control == platform::SettingsControl::Ok;
    const Look look = isDefault ? Look::DefaultButton : kLooks[static_cast<int>(c.kind)];
    // Cancel always takes the focus: it leaves without checking anything.
    return {look,
            !c.hiddenAtOpen,
            focusable,
            c.align == Align::Right,
            c.kind == Kind::SmallButton,
            focusable && c.control != platform::SettingsControl::Cancel,
            c.kind == Kind::Frame};
}

PixelRect ToPixels(const Control& control, double twipsPerPixelX, double twipsPerPixelY) {
    const float left = static_cast<float>(control.left + (control.inFrame ? kFrameLeft : 0));
    const float top = static_cast<float>(control.top + (control.inFrame ? kFrameTop : 0));
    return orv::ToPixels(
        {left, top, static_cast<float>(control.width), static_cast<float>(control.height)},
        twipsPerPixelX, twipsPerPixelY);
}

} // namespace orv::settings
