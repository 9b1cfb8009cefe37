#include "startup/startup.h"

#include "common/command_line.h"
#include "saver/stored_settings.h"

namespace orv::startup {

using saver::SaverMode;

void Start(platform::Platform& platform, saver::ProgramState& state) {
    const std::string argumentText = platform.environment.ArgumentText();
    const StartSwitch startSwitch = ClassifySwitch(argumentText);
    state.saver = std::make_unique<saver::ScreenSaver>(platform);
    saver::ScreenSaver& screenSaver = *state.saver;
    // The settings dialog always opens, so that a stored number out of range
    // can be put right there; the show and the preview report it.
    saver::LoadSettings(platform.store, platform.environment, screenSaver,
                        startSwitch == StartSwitch::Settings ? saver::OutOfRange::UseDefault
                                                             : saver::OutOfRange::Overflow);
    state.windowsFolder = platform.environment.WindowsDirectory();

    switch (startSwitch) {
    case StartSwitch::Preview:
        screenSaver.Execute(SaverMode::Preview);
        break;
    case StartSwitch::Settings:
        screenSaver.Execute(SaverMode::Settings);
        break;
    case StartSwitch::ScreenSaver:
        screenSaver.Execute(SaverMode::ScreenSaver);
        break;
    case StartSwitch::About:
        screenSaver.About();
        break;
    case StartSwitch::ChangePassword:
        platform.session.ChangePassword(WindowHandleArgument(argumentText));
        break;
    case StartSwitch::None:
        break;
    }
}

} // namespace orv::startup
