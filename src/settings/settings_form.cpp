#include "settings/settings_form.h"

#include <tuple>

#include "common/app_title.h"
#include "common/numeric.h"
#include "common/paths.h"
#include "pickers/folder_picker.h"
#include "pickers/music_file_picker.h"
#include "saver/stored_settings.h"

namespace orv::settings {

using platform::CheckState;
using platform::SettingsControl;

SettingsForm::SettingsForm(platform::Platform& platform, saver::Settings settings,
                           platform::SettingsView& view, audio::MusicControl& music,
                           platform::Pickers& pickers)
    : platform_(platform), settings_(std::move(settings)), view_(view), music_(music),
      pickers_(pickers) {
    // A check box has three states: 0 and 2 show as themselves, any other
    // non-zero flag means "clock on" and shows as checked.
    const auto clock = settings_.showClock;
    fields_ = {settings_.path, std::to_string(settings_.time),
               std::to_string(settings_.scalePercentage), settings_.musicFile,
               clock == 0   ? CheckState::Unchecked
               : clock == 2 ? CheckState::Grayed
                            : CheckState::Checked};
}

void SettingsForm::Load(std::intptr_t owner) {
    owner_ = owner;
    view_.SetCaption(std::string(kAppTitle) + " - Settings");
    const platform::SettingsFields fields = fields_;
    for (const auto& [field, text] : {std::pair{SettingsControl::PicturesPath, fields.picturesPath},
                                      {SettingsControl::DisplayTime, fields.displayTime},
                                      {SettingsControl::ScalePercentage, fields.scalePercentage},
                                      {SettingsControl::MusicFile, fields.musicFile}})
        SetText(field, text);
    view_.SetClockState(fields_.clock);
    music_.LoadNotifyWindow();
    view_.PutFocus(SettingsControl::PicturesPath);
}

void SettingsForm::OnUnload() {
    music_.UnloadNotifyWindow();
    music_.Stop();
}

std::string* SettingsForm::TextOf(SettingsControl field) {
    switch (field) {
    case SettingsControl::PicturesPath:
        return &fields_.picturesPath;
    case SettingsControl::DisplayTime:
        return &fields_.displayTime;
    case SettingsControl::ScalePercentage:
        return &fields_.scalePercentage;
    case SettingsControl::MusicFile:
        return &fields_.musicFile;
    default:
        return nullptr;
    }
}

void SettingsForm::OnFieldChanged(SettingsControl field, const std::string& text) {
    if (std::string* held = TextOf(field)) *held = text;
}

// Held first: the window reports the change it makes with the same text.
void SettingsForm::SetText(SettingsControl field, const std::string& text) {
    OnFieldChanged(field, text);
    view_.SetText(field, text);
}

bool SettingsForm::HasFocusCheck(SettingsControl control) {
    return control == SettingsControl::PicturesPath ||
           control == SettingsControl::ScalePercentage || control == SettingsControl::MusicFile;
}

bool SettingsForm::MayMoveFocus(std::optional<SettingsControl> from, SettingsControl to) {
    if (!from || *from == to || to == SettingsControl::Cancel || !HasFocusCheck(*from)) return true;
    const bool accepted = *from == SettingsControl::PicturesPath ? CheckPicturesPath()
                          : *from == SettingsControl::MusicFile  ? CheckMusicFile()
                                                                 : CheckScalePercentage();
    if (!accepted) view_.PutFocus(*from);
    return accepted;
}

ControlReply SettingsForm::OnControlInput(SettingsControl control, ControlInput input,
                                          std::optional<SettingsControl> focused,
                                          std::optional<SettingsControl> next) {
    if (input == ControlInput::Click)
        return MayMoveFocus(focused, control) ? ControlReply::Pass : ControlReply::Drop;
    if (!HasFocusCheck(control)) return ControlReply::Pass;
    if (input == ControlInput::TabQuery) return ControlReply::WantTab;
    if (input == ControlInput::Tab && next && *next != control && MayMoveFocus(focused, *next))
        view_.Focus(*next);
    return ControlReply::Drop;
}

bool SettingsForm::OnButtonPressed(SettingsControl button, std::optional<SettingsControl> focused) {
    if (!MayMoveFocus(focused, button)) return false;
    switch (button) {
    case SettingsControl::Ok:
        OnOk();
        break;
    case SettingsControl::Cancel:
        OnCancel();
        break;
    case SettingsControl::ShowClock:
        OnClockClicked();
        break;
    case SettingsControl::SelectPath:
        OnSelectPath();
        break;
    case SettingsControl::SelectMusicFile:
        OnSelectMusicFile();
        break;
    case SettingsControl::Play:
        OnPlay();
        break;
    case SettingsControl::Stop:
        OnStop();
        break;
    case SettingsControl::Back:
        OnBack();
        break;
    case SettingsControl::Next:
        OnNext();
        break;
    default:
        break;
    }
    return true;
}

void SettingsForm::OnFieldFocused(SettingsControl field) {
    if (TextOf(field)) view_.SelectAll(field);
}

void SettingsForm::UpdateTrackButtons() {
    view_.SetTrackButtonsVisible(IsPlaylistName(fields_.musicFile));
}

void SettingsForm::Refuse(const char* message) {
    platform_.messages.Show(message, platform::MessageIcon::Information, kAppTitle);
}

void SettingsForm::OnOk() {
    const platform::SettingsFields fields = fields_;
    // A number that does not fit the 16-bit setting is refused like a field
    // check, before anything is written.
    for (const auto& [text, field, message] :
         {std::tuple{fields.displayTime, SettingsControl::DisplayTime, kInvalidTime},
          std::tuple{fields.scalePercentage, SettingsControl::ScalePercentage, kInvalidScale}}) {
        if (!TryToInt16(ReadNumber(text))) {
            Refuse(message);
            view_.Focus(field);
            return;
        }
    }
    const saver::Settings settings{fields.picturesPath, ToInt16(ReadNumber(fields.displayTime)),
                                   static_cast<std::int16_t>(fields.clock),
                                   ToInt16(ReadNumber(fields.scalePercentage)), fields.musicFile};
    // A refused write leaves the dialog open and the store as it was.
    if (const auto failure =
            saver::SaveSettings(platform_.store, platform_.environment, settings)) {
        platform_.messages.Show(std::string(kNotSaved) + "\r" + std::to_string(failure->Number()) +
                                    " " + failure->Description(),
                                platform::MessageIcon::Exclamation, kAppTitle);
        return;
    }
    view_.Close();
}

void SettingsForm::OnCancel() {
    view_.Close();
}

void SettingsForm::OnClockClicked() {
    // Grayed and unchecked go to checked, checked to unchecked.
    fields_.clock =
        fields_.clock == CheckState::Checked ? CheckState::Unchecked : CheckState::Checked;
    view_.SetClockState(fields_.clock);
}

void SettingsForm::OnSelectPath() {
    const std::string chosen = pickers::PickPicturesFolder(pickers_, owner_);
    if (!chosen.empty()) SetText(SettingsControl::PicturesPath, chosen);
}

void SettingsForm::OnSelectMusicFile() {
    const std::string chosen = pickers::PickMusicFile(pickers_, platform_.environment, owner_);
    if (chosen.empty()) return;
    SetText(SettingsControl::MusicFile, chosen);
    UpdateTrackButtons();
    const std::string text = fields_.musicFile;
    if (IsPlaylistName(text)) music_.LoadPlaylist(text);
}

void SettingsForm::OnPlay() {
    UpdateTrackButtons();
    const std::string text = fields_.musicFile;
    if (IsPlaylistName(text)) {
        // Every press reads the list anew and starts at its first track.
        if (music_.LoadPlaylist(text)) music_.PlayTrack();
    } else {
        music_.Play(text, audio::PlayMode::Once);
    }
}

void SettingsForm::OnStop() {
    music_.Stop();
}
void SettingsForm::OnBack() {
    music_.PreviousTrack();
}
void SettingsForm::OnNext() {
    music_.NextTrack();
}

bool SettingsForm::CheckPicturesPath() {
    if (platform_.files.Lookup(fields_.picturesPath, platform::LookupFilter::FoldersAndFiles))
        return true;
    Refuse(kInvalidDir);
    return false;
}

bool SettingsForm::CheckMusicFile() {
    const std::string text = fields_.musicFile;
    const bool accepted =
        text.empty() || platform_.files.Lookup(text, platform::LookupFilter::FilesOnly);
    if (!accepted) Refuse(kInvalidFile);
    // Refused or not, the track buttons follow the field and a playlist is read.
    UpdateTrackButtons();
    if (IsPlaylistName(text)) music_.LoadPlaylist(text);
    return accepted;
}

bool SettingsForm::CheckScalePercentage() {
    const double value = ReadNumber(fields_.scalePercentage);
    if (value >= 1 && value <= 100) return true;
    Refuse(kInvalidScale);
    return false;
}

} // namespace orv::settings
