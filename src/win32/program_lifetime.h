// The program lives as long as one of its windows is open: each window
// registers while it lives, and the last one to go ends the message loop.
#pragma once

namespace orv::win32 {

void WindowOpened();
void WindowClosed();
bool AnyWindowOpen();
// Runs the message loop until the last window closes; returns the exit code.
int RunMessageLoop();

} // namespace orv::win32
