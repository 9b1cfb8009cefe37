// The program's start: reads the settings, and starts the mode that the
// command line asks for with them. Called once by the entry point.
#pragma once
#include "platform/platform.h"
#include "startup/program_windows.h"

namespace orv::startup {

// Run-time errors (a stored number out of range, a bad handle after "/a")
// propagate to the caller; a preview's bad host handle is reported in a
// message box.
void Start(platform::Platform& platform, ProgramWindows& windows);

} // namespace orv::startup
