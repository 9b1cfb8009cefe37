#include "startup/startup.h"

#include "common/app_title.h"
#include "common/command_line.h"
#include "saver/about.h"
#include "saver/stored_settings.h"

namespace orv::startup {
namespace {

// The preview in the window the command line names. A handle that names no
// window that can hold it leaves nothing to show in: the program ends
// quietly, before the folder is scanned for nothing.
void StartPreview(platform::Platform& platform, ProgramWindows& windows,
                  const std::string& argumentText, const saver::Settings& settings) {
    try {
        const std::int32_t host = WindowHandleArgument(argumentText);
        if (!CanHoldPreview(windows.DescribeHost(host))) return;
        windows.ShowPreview(host, settings);
    } catch (const RuntimeError& e) {
        platform.messages.Show(std::to_string(e.Number()) + ": " + e.Description(),
                               platform::MessageIcon::Critical, kAppTitle);
    }
}

} // namespace

bool CanHoldPreview(const HostWindow& host) {
    return host.exists && !host.desktop && !host.ownProcess;
}

void Start(platform::Platform& platform, ProgramWindows& windows) {
    const std::string argumentText = platform.environment.ArgumentText();
    const StartSwitch startSwitch = ClassifySwitch(argumentText);
    // The settings dialog always opens, so that a stored number out of range
    // can be put right there; the show and the preview report it.
    const saver::Settings settings =
        saver::LoadSettings(platform.store, platform.environment,
                            startSwitch == StartSwitch::Settings ? saver::OutOfRange::UseDefault
                                                                 : saver::OutOfRange::Overflow);
    switch (startSwitch) {
    case StartSwitch::Preview:
        StartPreview(platform, windows, argumentText, settings);
        break;
    case StartSwitch::Settings:
        windows.ShowSettings(settings);
        break;
    case StartSwitch::ScreenSaver:
        windows.ShowSlideshow(settings);
        break;
    case StartSwitch::About:
        platform.messages.Show(
            saver::AboutText(platform.environment.ProgramVersion(), platform.clock.Now().year),
            platform::MessageIcon::Information, saver::AboutTitle());
        break;
    case StartSwitch::ChangePassword:
        platform.session.ChangePassword(WindowHandleArgument(argumentText));
        break;
    case StartSwitch::None:
        break;
    }
}

} // namespace orv::startup
