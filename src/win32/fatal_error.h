// The fatal path: what reaches the entry point or a Windows callback edge
// ends the program. The desktop is put back first (the screen-saver running
// flag and the cursor, so the box can be answered), then the run-time error
// box is shown and the program ends with the error's number.
#pragma once
#include "common/errors.h"

namespace orv::win32 {

class Win32Session;

// The session whose changes the fatal path undoes; set once by the entry
// point.
void SetSessionToRestore(Win32Session* session) noexcept;
// The run-time error box (title "Orvandel", number and description).
void ShowRunTimeError(const RuntimeError& error) noexcept;
[[noreturn]] void ReportFatal(const RuntimeError& error) noexcept;
// For the catch (...) at the entry point and at each callback edge: reports
// whatever escaped (anything but a RuntimeError as error 51).
[[noreturn]] void ReportFatalCurrentException() noexcept;

} // namespace orv::win32
