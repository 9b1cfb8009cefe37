#include "settings/frm_settings.h"

#include <array>
#include <tuple>

#include "audio/playlist_name.h"
#include "common/app_title.h"
#include "common/numeric.h"
#include "common/runtime_error.h"
#include "startup/settings_keys.h"

namespace orv {

using platform::CheckState;
using platform::SettingsField;

frmSettings::frmSettings(platform::Platform& platform, modScreenSaver& module,
                         platform::SettingsView& view, SettingsMusic& music,
                         platform::Pickers& pickers)
    : platform_(platform), module_(module), view_(view), music_(music), pickers_(pickers) {}

void frmSettings::Form_Load() {
    view_.SetCaption(std::string(kAppTitle) + " - Settings");
    const clsPicSS& pss = *module_.objPicSS;
    view_.SetText(SettingsField::PicturesPath, pss.Path());
    view_.SetText(SettingsField::DisplayTime, FormatInteger(pss.Time()));
    // A check box has three states: 0 and 2 show as themselves, any other
    // non-zero flag means "clock on" and shows as checked.
    const auto clock = pss.ShowClock();
    view_.SetClockState(clock == 0   ? CheckState::Unchecked
                        : clock == 2 ? CheckState::Grayed
                                     : CheckState::Checked);
    view_.SetText(SettingsField::ScalePercentage, FormatInteger(pss.ScalePercentage()));
    view_.SetText(SettingsField::MPEGFile, pss.MPEGFile());
    music_.LoadNotifyWindow();
}

void frmSettings::Form_Activate() {
    objFileDialog = std::make_unique<clsComonDialogBoxAPI>(pickers_, platform_.environment);
    objPathDialog = std::make_unique<clsPathDialogBoxAPI>(pickers_);
}

void frmSettings::UpdateTrackButtons() {
    view_.SetTrackButtonsVisible(IsPlayListFile(view_.Text(SettingsField::MPEGFile)));
}

void frmSettings::Refuse(const char* message) {
    platform_.messages.Show(message, platform::kInformation, kAppTitle);
}

void frmSettings::cmdOk_Click() {
    clsPicSS& pss = *module_.objPicSS;
    const std::string timeText = view_.Text(SettingsField::DisplayTime);
    const std::string scaleText = view_.Text(SettingsField::ScalePercentage);
    // A number that does not fit the 16-bit setting is refused like a field
    // check, before anything is changed.
    const auto fits = [](const std::string& text) {
        try {
            ToInt16(ReadNumber(text));
            return true;
        } catch (const RuntimeError&) {
            return false;
        }
    };
    for (const auto& [text, field, message] :
         {std::tuple{timeText, SettingsField::DisplayTime, kInvalidTime},
          std::tuple{scaleText, SettingsField::ScalePercentage, kInvalidScale}}) {
        if (!fits(text)) {
            Refuse(message);
            view_.FocusField(field);
            return;
        }
    }

    const auto restore = [&pss, path = pss.Path(), time = pss.Time(), clock = pss.ShowClock(),
                          scale = pss.ScalePercentage(), music = pss.MPEGFile()] {
        pss.SetPath(path);
        pss.SetTime(time);
        pss.SetShowClock(clock);
        pss.SetScalePercentage(scale);
        pss.SetMPEGFile(music);
    };
    pss.SetPath(view_.Text(SettingsField::PicturesPath));
    pss.SetTime(ReadNumber(timeText));
    pss.SetShowClock(static_cast<double>(static_cast<int>(view_.ClockState())));
    pss.SetScalePercentage(ReadNumber(scaleText));
    pss.SetMPEGFile(view_.Text(SettingsField::MPEGFile));
    if (!WriteSettings()) {
        restore(); // the dialog stays open with the object as it was
        return;
    }
    view_.Unload();
}

bool frmSettings::WriteSettings() {
    namespace k = settings_keys;
    const clsPicSS& pss = *module_.objPicSS;
    struct Item {
        const char* key;
        std::string value;
        std::string fallback; // what start-up reads when the key is missing
    };
    const std::array<Item, 5> items{{
        {k::kPicturesPath, pss.Path(), platform_.environment.ProgramFolder()},
        {k::kDisplayTime, FormatInteger(pss.Time()), k::kDefaultDisplayTime},
        {k::kShowClock, FormatInteger(pss.ShowClock()), k::kDefaultShowClock},
        {k::kScalePercentage, FormatInteger(pss.ScalePercentage()), k::kDefaultScalePercentage},
        {k::kMPEGFile, pss.MPEGFile(), ""},
    }};
    // What the next start would read now, put back when a later write fails,
    // so that a refused write never leaves a mix of old and new settings.
    std::array<std::string, 5> old;
    for (std::size_t i = 0; i < items.size(); ++i)
        old[i] = platform_.store.Read(kAppTitle, k::kSection, items[i].key, items[i].fallback);

    std::size_t written = 0;
    try {
        for (; written < items.size(); ++written)
            platform_.store.Write(kAppTitle, k::kSection, items[written].key, items[written].value);
        return true;
    } catch (const RuntimeError& error) {
        for (std::size_t i = 0; i < written; ++i) {
            try {
                platform_.store.Write(kAppTitle, k::kSection, items[i].key, old[i]);
            } catch (const RuntimeError&) {
                // Nothing more can be done; the message below tells the user.
            }
        }
        platform_.messages.Show(std::string(kNotSaved) + "\r" + std::to_string(error.Number()) +
                                    " " + error.Description(),
                                platform::kExclamation, kAppTitle);
        return false;
    }
}

void frmSettings::cmdCancel_Click() {
    view_.Unload();
}

void frmSettings::cmdSelectPath_Click() {
    if (!objPathDialog) Form_Activate();
    const std::string chosen = objPathDialog->SelectPath(view_.WindowHandle());
    if (!chosen.empty()) view_.SetText(SettingsField::PicturesPath, chosen);
}

void frmSettings::cmdSelectMPEGFile_Click() {
    if (!objFileDialog) Form_Activate();
    const std::string chosen = objFileDialog->SelectFileName(view_.WindowHandle());
    if (chosen.empty()) return;
    view_.SetText(SettingsField::MPEGFile, chosen);
    UpdateTrackButtons();
    const std::string text = view_.Text(SettingsField::MPEGFile);
    if (IsPlayListFile(text)) music_.LoadPlayList(text);
}

void frmSettings::cmdPlay_Click() {
    UpdateTrackButtons();
    const std::string text = view_.Text(SettingsField::MPEGFile);
    if (IsPlayListFile(text)) {
        // Every press reads the list anew and starts at its first track.
        if (music_.LoadPlayList(text)) music_.PlayMusic(music_.CurrentTrack(), "");
    } else {
        music_.PlayMusic(text, "");
    }
}

void frmSettings::cmdStop_Click() {
    music_.StopMusic();
}
void frmSettings::cmdPrev_Click() {
    music_.PreviousTrack();
}
void frmSettings::cmdNext_Click() {
    music_.NextTrack();
}

void frmSettings::Form_Unload() {
    music_.UnloadNotifyWindow();
    music_.StopMusic();
    module_.objPicSS.reset();
    objFileDialog.reset();
    objPathDialog.reset();
}

namespace {
// A name the platform cannot look up at all counts as not found.
bool Found(platform::FileSystem& files, const std::string& text, platform::LookupFilter filter) {
    try {
        return files.Lookup(text, filter);
    } catch (const RuntimeError&) {
        return false;
    }
}
} // namespace

void frmSettings::txtPicturesPath_Validate(bool& Cancel) {
    if (!Found(platform_.files, view_.Text(SettingsField::PicturesPath),
               platform::LookupFilter::FoldersAndFiles)) {
        Refuse(kInvalidDir);
        Cancel = true;
    }
}

void frmSettings::txtMPEGFile_Validate(bool& Cancel) {
    const std::string text = view_.Text(SettingsField::MPEGFile);
    if (!text.empty() && !Found(platform_.files, text, platform::LookupFilter::FilesOnly)) {
        Refuse(kInvalidFile);
        Cancel = true;
    }
    // Refused or not, the track buttons follow the field and a playlist is read.
    UpdateTrackButtons();
    if (IsPlayListFile(text)) music_.LoadPlayList(text);
}

void frmSettings::txtScalePercentage_Validate(bool& Cancel) {
    const double value = ReadNumber(view_.Text(SettingsField::ScalePercentage));
    if (!(value >= 1 && value <= 100)) {
        Refuse(kInvalidScale);
        Cancel = true;
    }
}

void frmSettings::txtPicturesPath_GotFocus() {
    view_.SelectAll(SettingsField::PicturesPath);
}
void frmSettings::txtDisplayTime_GotFocus() {
    view_.SelectAll(SettingsField::DisplayTime);
}
void frmSettings::txtScalePercentage_GotFocus() {
    view_.SelectAll(SettingsField::ScalePercentage);
}
void frmSettings::txtMPEGFile_GotFocus() {
    view_.SelectAll(SettingsField::MPEGFile);
}

bool frmSettings::FocusMayLeave(SettingsField field) {
    bool Cancel = false;
    switch (field) {
    case SettingsField::PicturesPath:
        txtPicturesPath_Validate(Cancel);
        break;
    case SettingsField::MPEGFile:
        txtMPEGFile_Validate(Cancel);
        break;
    case SettingsField::ScalePercentage:
        txtScalePercentage_Validate(Cancel);
        break;
    case SettingsField::DisplayTime:
        break;
    }
    return !Cancel;
}

void frmSettings::GotFocus(SettingsField field) {
    switch (field) {
    case SettingsField::PicturesPath:
        txtPicturesPath_GotFocus();
        break;
    case SettingsField::DisplayTime:
        txtDisplayTime_GotFocus();
        break;
    case SettingsField::ScalePercentage:
        txtScalePercentage_GotFocus();
        break;
    case SettingsField::MPEGFile:
        txtMPEGFile_GotFocus();
        break;
    }
}

} // namespace orv
