// The program's message loop on Windows, and the registrations of the
// program's lifetime (program/program_lifetime.h): the windows that keep it
// alive and the watch, whose signal is a handle the loop waits on.
#pragma once
#include <windows.h>

#include <functional>

namespace orv::win32 {

void WindowOpened();
void WindowClosed();
bool AnyWindowOpen();

// While set, the message loop runs `check` every half second and as soon as
// `signal` (a handle it can wait on, or null) is signalled.
void SetWatch(HANDLE signal, std::function<void()> check);
void ClearWatch();

// Runs the message loop until the last window closes; returns the exit code.
int RunMessageLoop();

} // namespace orv::win32
