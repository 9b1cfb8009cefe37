// The program's start: fills the screen-saver object from the settings
// store, records the Windows folder and starts the mode that the command
// line asks for. Called once by the entry point.
#pragma once
#include "platform/platform.h"
#include "saver/program_state.h"

namespace orv::startup {

// Run-time errors (a stored number out of range, a bad handle after "/a")
// propagate to the caller.
void Start(platform::Platform& platform, saver::ProgramState& state);

} // namespace orv::startup
