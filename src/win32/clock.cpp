#include "win32/clock.h"

#include <windows.h>

namespace orv::win32 {

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
