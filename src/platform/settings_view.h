// What the settings dialog's behaviour shows in its window: the fields'
// texts, the clock box, the Back/Next pair, focus and selection, the caption,
// and closing. The window reports each edit of a field, so the behaviour
// keeps what the fields hold and never reads the window back.
#pragma once
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
    // The text of a field (PicturesPath, DisplayTime, ScalePercentage or
    // MusicFile).
    virtual void SetText(SettingsControl field, const std::string& text) = 0;
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
};

} // namespace orv::platform
