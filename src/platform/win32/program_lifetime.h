// The program lives as long as one of its windows is loaded: each form
// registers while it lives, and the last one to go ends the message loop.
// Window procedures call ReportFatal for a run-time error that escapes them.
#pragma once
#include "common/runtime_error.h"

namespace orv::win32 {

void FormLoaded();
void FormUnloaded();
bool AnyFormLoaded();
// Runs the message loop until the last form unloads; returns the exit code.
int RunMessageLoop();
// The run-time error box (title "Orvandel", number and description).
void ShowRunTimeError(const RuntimeError& error);
// Shows the run-time error box and ends the program with the error's number.
[[noreturn]] void ReportFatal(const RuntimeError& error);
// For the catch (...) at the edge of a window procedure or callback: reports
// whatever escaped (other exceptions as error 51) and ends the program.
[[noreturn]] void ReportFatalCurrentException() noexcept;

} // namespace orv::win32
