#include "platform/win32/basic_services.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace orv::win32 {

int Win32MessageBoxes::Show(const std::string& text, int style, const std::string& title) {
    // The active window of this thread owns the box, so it stays in front of
    // the dialog or show it belongs to.
    return MessageBoxW(GetActiveWindow(), Wide(text).c_str(), Wide(title).c_str(),
                       static_cast<UINT>(style) | MB_SETFOREGROUND);
}

platform::LocalTime Win32Clock::Now() const {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void Win32Random::Seed() {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    engine_.seed(static_cast<std::mt19937::result_type>(counter.QuadPart ^ GetTickCount64()));
}

double Win32Random::Next() {
    return uniform_(engine_);
}

} // namespace orv::win32
