// The fatal path: what reaches the entry point or a Windows callback edge
// ends the program. It stops our windows (their timers and input: see
// FatalErrorShowing), puts the desktop back (the screen-saver running flag
// and the cursor, so the box can be answered), shows the run-time error box
// above everything, task-modal, and ends the program with the error's
// number. A second fatal error while the box is up ends the program at once.
#pragma once
#include "common/errors.h"
#include "saver/tracked_session.h"

namespace orv::win32 {

// The session whose changes the fatal path undoes; set by the entry point
// while the session lives.
void SetSessionToRestore(saver::TrackedSession* session) noexcept;
// True once the fatal path has begun: the window base then hands no message
// to its windows' objects and stops every timer that fires.
bool FatalErrorShowing() noexcept;
[[noreturn]] void ReportFatal(const RuntimeError& error) noexcept;
// For the catch (...) at the entry point and at each callback edge: reports
// whatever escaped (memory exhaustion as error 7, anything else that is not
// a RuntimeError as error 51).
[[noreturn]] void ReportFatalCurrentException() noexcept;

} // namespace orv::win32
