// The command-line switch and the window-handle argument that follows it.
#pragma once
#include <cstdint>
#include <string_view>

namespace orv {

enum class StartSwitch { Preview, Settings, ScreenSaver, About, ChangePassword, None };

// Tested in a fixed order on the first two characters, case-sensitive:
// "/p", "/c" or empty, "/s", "/S", "/a"; anything else is None.
StartSwitch ClassifySwitch(std::string_view argumentText);

// The text from its fourth character on (switch plus one separator dropped),
// read as a decimal 32-bit integer, blanks around it allowed, fractions
// rounded half to even. Throws InvalidProcedureCall when the text is shorter
// than three characters, TypeMismatch or Overflow for a bad number.
std::int32_t WindowHandleArgument(std::string_view argumentText);

// The arguments in a whole command line: the program's name (quoted or not)
// and the blanks after it skipped.
std::string_view ArgumentsOf(std::string_view commandLine);

} // namespace orv
