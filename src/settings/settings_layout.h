// The settings dialog's controls as drawn: kind, caption, tooltip, place in
// twips (frame-relative or window-relative), Tab order, alignment and length
// limit. The Windows layer creates the controls from this table and converts
// the twips with the display's real twips per pixel.
#pragma once
#include <optional>
#include <span>

#include "common/twips.h"
#include "platform/settings_view.h"

namespace orv::settings {

inline constexpr int kClientWidth = 6720; // twips
inline constexpr int kClientHeight = 2490;
inline constexpr int kFrameLeft = 120;
inline constexpr int kFrameTop = 120;

enum class Kind { Frame, Label, TextField, CheckBox, Button, SmallButton };
enum class Align { Left, Right };

struct Control {
    int id; // command id; OK and Cancel use the platform's 1 and 2
    // The behaviour's name for a control that takes the focus; labels and
    // the frame have none.
    std::optional<platform::SettingsControl> control;
    Kind kind;
    bool inFrame; // position relative to the frame, else to the window
    int left, top, width, height;
    const char* caption;
    const char* tooltip;
    int tabIndex; // -1: takes no focus
    Align align;
    int maxLength; // 0: no limit
    bool hiddenAtOpen;
};

// The focus-taking controls in Tab order, then the labels, then the frame.
std::span<const Control> Controls();
const Control* FindById(int id);
const Control& Find(platform::SettingsControl control);

// How the Windows layer makes a control of the table.
enum class Look { GroupBox, Label, Field, ThreeStateBox, PushButton, DefaultButton };
struct ControlShape {
    Look look;
    bool visible;      // shown when the dialog opens
    bool tabStop;      // reached by Tab
    bool rightAligned; // a label's or a field's text
    bool boldFont;     // the small buttons
    bool asksForFocus; // the form is asked before a click or Tab gives it the focus
    bool behind;       // drawn behind the controls it holds (the frame)
};
ControlShape ShapeOf(const Control& control);

// The control's rectangle in client pixels of the window.
PixelRect ToPixels(const Control& control, double twipsPerPixelX, double twipsPerPixelY);

} // namespace orv::settings
