#include "saver/screen_saver.h"

#include "common/app_title.h"
#include "common/command_line.h"
#include "common/errors.h"
#include "common/numeric.h"
#include "common/paths.h"
#include "saver/about.h"

namespace orv::saver {

bool CanHoldPreview(const platform::HostWindow& host) {
    return host.exists && !host.desktop && !host.ownProcess;
}

ScreenSaver::ScreenSaver(platform::Platform& platform) : platform_(platform) {}

void ScreenSaver::SetTime(double value) {
    time_ = ToInt16(value);
}
void ScreenSaver::SetShowClock(double value) {
    showClock_ = ToInt16(value);
}
void ScreenSaver::SetScalePercentage(double value) {
    scalePercentage_ = ToInt16(value);
}

bool ScreenSaver::IsPlaylist() const {
    return IsPlaylistName(musicFile_);
}

void ScreenSaver::Execute(SaverMode mode) {
    switch (mode) {
    case SaverMode::Preview:
        // Set first: the slideshow window reads it while it loads.
        previewMode_ = true;
        EmbedInPreview();
        break;
    case SaverMode::ScreenSaver:
        platform_.windows.ShowSlideshow();
        break;
    case SaverMode::Settings:
        platform_.windows.ShowSettings();
        break;
    default:
        break;
    }
}

void ScreenSaver::EmbedInPreview() {
    try {
        const std::int32_t host = WindowHandleArgument(platform_.environment.ArgumentText());
        // A handle that names no window that can hold the preview leaves
        // nothing to show in: the program ends quietly, before the folder is
        // scanned for nothing.
        if (!CanHoldPreview(platform_.windows.DescribeHost(host))) return;
        platform_.windows.ShowPreview(host);
    } catch (const RuntimeError& e) {
        platform_.messages.Show(std::to_string(e.Number()) + ": " + e.Description(),
                                platform::MessageIcon::Critical, kAppTitle);
    }
}

void ScreenSaver::About() {
    const auto now = platform_.clock.Now();
    platform_.messages.Show(AboutText(platform_.environment.ProgramVersion(), now.year),
                            platform::MessageIcon::Information, AboutTitle());
}

} // namespace orv::saver
