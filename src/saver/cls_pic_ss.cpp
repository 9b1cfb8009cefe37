#include "saver/cls_pic_ss.h"

#include "audio/mod_strings.h"
#include "audio/playlist_name.h"
#include "common/app_title.h"
#include "common/numeric.h"
#include "common/runtime_error.h"
#include "saver/about.h"
#include "startup/command_line.h"

namespace orv {

clsPicSS::clsPicSS(platform::Platform& platform) : platform_(platform) {}

void clsPicSS::SetTime(double vNewValue) {
    time_ = ToInt16(vNewValue);
}
void clsPicSS::SetTime(std::string_view vNewValue) {
    time_ = ToInt16(vNewValue);
}
void clsPicSS::SetShowClock(double vNewValue) {
    showClock_ = ToInt16(vNewValue);
}
void clsPicSS::SetShowClock(std::string_view vNewValue) {
    showClock_ = ToInt16(vNewValue);
}
void clsPicSS::SetScalePercentage(double vNewValue) {
    scalePercentage_ = ToInt16(vNewValue);
}
void clsPicSS::SetScalePercentage(std::string_view vNewValue) {
    scalePercentage_ = ToInt16(vNewValue);
}

std::string clsPicSS::MPEGPath() const {
    return ExtractPath(mpegFile_);
}
bool clsPicSS::IsPlayList() const {
    return IsPlayListFile(mpegFile_);
}

void clsPicSS::Execute(std::int32_t enmPSS) {
    switch (enmPSS) {
    case pssPreview:
        // Set first: the slideshow window reads it while it loads.
        previewMode_ = true;
        EmbedInPreview();
        break;
    case pssScreenSaver:
        platform_.forms.ShowSlideshow();
        break;
    case pssSettings:
        platform_.forms.ShowSettings();
        break;
    default:
        break;
    }
}

void clsPicSS::EmbedInPreview() {
    try {
        previewHost_ = WindowHandleArgument(platform_.environment.ArgumentText());
        platform_.forms.ShowPreview(previewHost_);
    } catch (const RuntimeError& e) {
        platform_.messages.Show(std::to_string(e.Number()) + ": " + e.Description(),
                                platform::kCritical, kAppTitle);
    }
}

void clsPicSS::About() {
    const auto now = platform_.clock.Now();
    platform_.messages.Show(AboutText(platform_.environment.ProgramVersion(), now.year),
                            platform::kInformation, AboutTitle());
}

void clsPicSS::ShowMouseCursor(bool bShow) {
    platform_.desktop.ShowCursor(bShow);
}

} // namespace orv
