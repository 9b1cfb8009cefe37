#include "saver/about.h"

#include "common/app_title.h"

namespace orv::saver {

std::string AboutText(const platform::Version& version, int year) {
    const std::string cr = "\r";
    const std::string versionLine =
        std::string(kAppTitle) + " - Version: " + std::to_string(version.major) + "." +
        std::to_string(version.minor) + "." + std::to_string(version.revision) + " (Quelbrin)";
    const std::string credits =
        "Made with care by the Orvandel team, 2024-" + std::to_string(year) + ".";
    const std::string contact = "Questions and ideas: hello@orvandel.example";
    return versionLine + cr + credits + cr + contact + cr + cr +
           "You can install this screensaver by rightclicking on it" + cr +
           "and selecting 'Install' from the popup menu.";
}

std::string AboutTitle() {
    return std::string("About - ") + kAppTitle;
}

} // namespace orv::saver
