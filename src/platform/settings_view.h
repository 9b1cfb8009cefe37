// What the settings dialog's behaviour needs of its window: its fields all at
// once (filled at the start, read back on OK) or one by one (a field's check,
// a picker's choice), the clock box, the Back/Next pair, focus and selection,
// the caption, closing, and the window handle that owns the pickers.
#pragma once
#include <cstdint>
#include <string>

namespace orv::platform {

// The controls that take the focus, in Tab order.
enum class SettingsControl {
    PicturesPath,
    DisplayTime,
    ShowClock,
    ScalePercentage,
    MusicFile,
    Ok,
    Cancel,
    SelectPath,
    Play,
    Stop,
    SelectMusicFile,
    Back,
    Next,
};

// States of the clock box; Grayed is the third state, shown for a stored 2.
enum class CheckState : int { Unchecked = 0, Checked = 1, Grayed = 2 };

// What the dialog's fields hold.
struct SettingsFields {
    std::string picturesPath, displayTime, scalePercentage, musicFile;
    CheckState clock = CheckState::Unchecked;
};

class SettingsView {
  public:
    virtual ~SettingsView() = default;
    virtual void SetCaption(const std::string& text) = 0;
    virtual SettingsFields Fields() const = 0;
    virtual void SetFields(const SettingsFields& fields) = 0;
    // The text of a field (PicturesPath, DisplayTime, ScalePercentage or
    // MusicFile).
    virtual std::string Text(SettingsControl field) const = 0;
    virtual void SetText(SettingsControl field, const std::string& text) = 0;
    virtual CheckState ClockState() const = 0;
    virtual void SetClockState(CheckState state) = 0;
    // Shows or hides Back and Next together.
    virtual void SetTrackButtonsVisible(bool visible) = 0;
    // Selects the whole text of the field.
    virtual void SelectAll(SettingsControl field) = 0;
    // Puts the focus into the control.
    virtual void Focus(SettingsControl control) = 0;
    // Puts the focus straight into the control, as a plain focus change:
    // the first focus, or back into a field that keeps it, which a refusal's
    // message box may have taken it from.
    virtual void PutFocus(SettingsControl control) = 0;
    // Closes the window; the form's OnUnload follows.
    virtual void Close() = 0;
    // The window's handle, as owner of the pickers.
    virtual std::intptr_t WindowHandle() const = 0;
};

} // namespace orv::platform
