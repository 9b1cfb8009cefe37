#include "startup/startup.h"

#include "common/command_line.h"
#include "saver/stored_settings.h"

namespace orv::startup {

using saver::SaverMode;

void Start(platform::Platform& platform, saver::ProgramState& state) {
    state.saver = std::make_unique<saver::ScreenSaver>(platform);
    saver::ScreenSaver& screenSaver = *state.saver;
    saver::LoadSettings(platform.store, platform.environment, screenSaver);
    state.windowsFolder = platform.environment.WindowsDirectory();

    const std::string argumentText = platform.environment.ArgumentText();
    switch (ClassifySwitch(argumentText)) {
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
