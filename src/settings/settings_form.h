// The settings dialog's behaviour. Fills the fields from the settings it is
// given and keeps what they hold as they are edited, checks the folder, music
// and scale fields before the focus leaves them (never on the way to Cancel),
// turns the clock box, previews the music, and on OK checks the fields and
// saves the five settings. The Windows layer owns the window and turns its
// messages into these calls.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "audio/music_control.h"
#include "platform/pickers.h"
#include "platform/platform.h"
#include "platform/settings_view.h"
#include "saver/settings.h"

namespace orv::settings {

// What reaches a control that the form is asked about before the focus
// comes to it (a click) or leaves it (Tab in a field with a check).
enum class ControlInput {
    Click,
    TabQuery,     // the dialog asks whether the control takes Tab itself
    Tab,          // Tab or Shift+Tab pressed in it
    TabCharacter, // the character that key types
};
// What the window then does with the input: lets it through, lets it
// through taking Tab itself, or drops it.
enum class ControlReply { Pass, WantTab, Drop };

class SettingsForm {
  public:
    SettingsForm(platform::Platform& platform, saver::Settings settings,
                 platform::SettingsView& view, audio::MusicControl& music,
                 platform::Pickers& pickers);

    // The window `owner` (which owns the pickers) is open.
    void Load(std::intptr_t owner);
    void OnUnload();
    // The text of a field has changed, by typing or as the form set it.
    void OnFieldChanged(platform::SettingsControl field, const std::string& text);

    // Whether the control has a check that may keep the focus in it.
    static bool HasFocusCheck(platform::SettingsControl control);
    // Runs the check of `from` when the focus is about to move from it to
    // `to`; false when the check keeps the focus in `from`. Moves to
    // Cancel, to the same control and from controls without a check are
    // never held.
    bool MayMoveFocus(std::optional<platform::SettingsControl> from, platform::SettingsControl to);
    // Input to `control` while the focus is on `focused`; `next` is the
    // control that Tab leads to from there. The checked fields take Tab
    // themselves, so their check runs before the focus moves on, and a click
    // that would take the focus from a refused field does nothing.
    ControlReply OnControlInput(platform::SettingsControl control, ControlInput input,
                                std::optional<platform::SettingsControl> focused,
                                std::optional<platform::SettingsControl> next);
    // A button pressed (a click, Enter, Esc or an access key) while the focus
    // is on `focused`: the focused field's check runs first, as for a click.
    // False when that check refused and the press did nothing.
    bool OnButtonPressed(platform::SettingsControl button,
                         std::optional<platform::SettingsControl> focused);
    // A field got the focus: its whole text is selected.
    void OnFieldFocused(platform::SettingsControl field);
    void OnOk();
    void OnCancel();
    void OnClockClicked();
    void OnSelectPath();
    void OnSelectMusicFile();
    void OnPlay();
    void OnStop();
    void OnBack();
    void OnNext();

    // The field checks: false (after a message box) when the field's text is
    // refused.
    bool CheckPicturesPath();
    bool CheckMusicFile();
    bool CheckScalePercentage();

    static constexpr const char* kInvalidDir = "Invalid dir!";
    static constexpr const char* kInvalidFile = "Invalid file!";
    static constexpr const char* kInvalidScale = "Must be between 1 and 100!";
    static constexpr const char* kInvalidTime = "Must be between -32768 and 32767!";
    static constexpr const char* kNotSaved = "The settings could not be saved!";

  private:
    void UpdateTrackButtons();
    void Refuse(const char* message);
    // What a field holds; nullptr for a control that is not a field.
    std::string* TextOf(platform::SettingsControl field);
    void SetText(platform::SettingsControl field, const std::string& text);

    platform::Platform& platform_;
    saver::Settings settings_; // as the dialog opened with them
    platform::SettingsFields fields_;
    platform::SettingsView& view_;
    audio::MusicControl& music_;
    platform::Pickers& pickers_;
    std::intptr_t owner_ = 0;
};

} // namespace orv::settings
