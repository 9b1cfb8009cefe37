#include "startup/mod_screen_saver.h"

#include "common/app_title.h"
#include "common/numeric.h"
#include "startup/command_line.h"
#include "startup/settings_keys.h"

namespace orv {

void Main(platform::Platform& platform, modScreenSaver& module) {
    namespace k = settings_keys;
    module.objPicSS = std::make_unique<clsPicSS>(platform);
    clsPicSS& pss = *module.objPicSS;
    const auto read = [&](const char* key, const std::string& fallback) {
        return platform.store.Read(kAppTitle, k::kSection, key, fallback);
    };
    pss.SetPath(read(k::kPicturesPath, platform.environment.ProgramFolder()));
    pss.SetTime(ReadNumber(read(k::kDisplayTime, k::kDefaultDisplayTime)));
    pss.SetShowClock(ReadNumber(read(k::kShowClock, k::kDefaultShowClock)));
    pss.SetMPEGFile(read(k::kMPEGFile, ""));
    pss.SetScalePercentage(ReadNumber(read(k::kScalePercentage, k::kDefaultScalePercentage)));

    module.strWinDir = platform.environment.WindowsDirectory();

    const std::string argumentText = platform.environment.ArgumentText();
    switch (ClassifySwitch(argumentText)) {
    case StartSwitch::Preview:
        pss.Execute(pssPreview);
        break;
    case StartSwitch::Settings:
        pss.Execute(pssSettings);
        break;
    case StartSwitch::ScreenSaver:
        pss.Execute(pssScreenSaver);
        break;
    case StartSwitch::About:
        pss.About();
        break;
    case StartSwitch::ChangePassword:
        platform.environment.ChangePassword(WindowHandleArgument(argumentText));
        break;
    case StartSwitch::None:
        break;
    }
}

} // namespace orv
