// frmSettings: the settings dialog's behaviour. Fills the fields from the
// screen-saver object, checks the folder, music and scale fields when the
// focus leaves them, previews the music, and on OK writes the five settings.
// The Windows layer owns the window and calls these handlers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "pickers/cls_comon_dialog_box_api.h"
#include "pickers/cls_path_dialog_box_api.h"
#include "platform/pickers.h"
#include "platform/platform.h"
#include "platform/settings_view.h"
#include "settings/settings_music.h"
#include "startup/mod_screen_saver.h"

namespace orv {

class frmSettings {
  public:
    frmSettings(platform::Platform& platform, modScreenSaver& module, platform::SettingsView& view,
                SettingsMusic& music, platform::Pickers& pickers);

    void Form_Load();
    void Form_Activate();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdSelectPath_Click();
    void cmdSelectMPEGFile_Click();
    void cmdPlay_Click();
    void cmdStop_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void Form_Unload();

    void txtPicturesPath_Validate(bool& Cancel);
    void txtMPEGFile_Validate(bool& Cancel);
    void txtScalePercentage_Validate(bool& Cancel);

    void txtPicturesPath_GotFocus();
    void txtDisplayTime_GotFocus();
    void txtScalePercentage_GotFocus();
    void txtMPEGFile_GotFocus();

    // The check of the field that the focus is about to leave; true when the
    // move may go on. Fields without a check always let it go.
    bool FocusMayLeave(platform::SettingsField field);
    void GotFocus(platform::SettingsField field);

    // The current picker objects (fresh after each activation), or null.
    const clsComonDialogBoxAPI* FileDialog() const { return objFileDialog.get(); }
    const clsPathDialogBoxAPI* PathDialog() const { return objPathDialog.get(); }

    static constexpr const char* kInvalidDir = "Invalid dir!";
    static constexpr const char* kInvalidFile = "Invalid file!";
    static constexpr const char* kInvalidScale = "Must be between 1 and 100!";
    static constexpr const char* kInvalidTime = "Must be between -32768 and 32767!";
    static constexpr const char* kNotSaved = "The settings could not be saved!";

  private:
    void UpdateTrackButtons();
    void Refuse(const char* message);
    bool WriteSettings();

    platform::Platform& platform_;
    modScreenSaver& module_;
    platform::SettingsView& view_;
    SettingsMusic& music_;
    platform::Pickers& pickers_;
    std::unique_ptr<clsComonDialogBoxAPI> objFileDialog;
    std::unique_ptr<clsPathDialogBoxAPI> objPathDialog;
};

} // namespace orv
