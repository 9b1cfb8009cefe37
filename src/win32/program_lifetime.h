// The program lives as long as one of its windows is open: each window
// registers while it lives, and the last one to go ends the message loop.
// The loop also keeps one watch for a window that must notice what sends
// it no message (the preview's host going with its process).
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
