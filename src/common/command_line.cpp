#include "common/command_line.h"

#include <algorithm>

#include "common/errors.h"
#include "common/numeric.h"
#include "common/text.h"

namespace orv {

StartSwitch ClassifySwitch(std::string_view argumentText) {
    const std::string_view head = argumentText.substr(0, 2);
    if (head == "/p") return StartSwitch::Preview;
    if (head == "/c" || argumentText.empty()) return StartSwitch::Settings;
    if (head == "/s") return StartSwitch::ScreenSaver;
    if (head == "/S") return StartSwitch::About;
    if (head == "/a") return StartSwitch::ChangePassword;
    return StartSwitch::None;
}

std::int32_t WindowHandleArgument(std::string_view argumentText) {
    if (CharCount(argumentText) < 3) throw InvalidProcedureCall();
    // Skip the switch and one separator character, whatever it is.
    return ToInt32(DropChars(argumentText, 3));
}

std::string_view ArgumentsOf(std::string_view commandLine) {
    std::size_t at = 0;
    if (commandLine.starts_with('"')) {
        at = commandLine.find('"', 1);
        at = at == std::string_view::npos ? commandLine.size() : at + 1;
    } else {
        at = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    const auto first = commandLine.find_first_not_of(" \t", at);
    return first == std::string_view::npos ? std::string_view{} : commandLine.substr(first);
}

} // namespace orv
