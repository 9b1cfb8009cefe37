#include "win32/session.h"

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "win32/settings_store.h"
#include "win32/system_libraries.h"

namespace orv::win32 {

void Win32Session::ShowCursor(bool show) {
    ::ShowCursor(show ? TRUE : FALSE);
}

void Win32Session::SetScreenSaverRunning(bool running) {
    UINT previous = 0;
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

namespace {

std::wstring SlotName(int slot) {
    return L"Orvandel.Show." + std::to_wstring(slot);
}

bool Acquired(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; // abandoned: its show ended
}

} // namespace

bool Win32ShowSlots::LockCount() {
    countMutex_.reset(CreateMutexW(nullptr, FALSE, L"Orvandel.ShowCount"));
    // Never waits long: a stuck holder only costs exactness.
    if (countMutex_ && Acquired(WaitForSingleObject(countMutex_.get(), 2000))) return true;
    countMutex_.reset();
    return false;
}

void Win32ShowSlots::UnlockCount() {
    ReleaseMutex(countMutex_.get());
    countMutex_.reset();
}

bool Win32ShowSlots::Hold(int slot) {
    unique_handle mutex(CreateMutexW(nullptr, FALSE, SlotName(slot).c_str()));
    if (!mutex || !Acquired(WaitForSingleObject(mutex.get(), 0))) return false;
    slotMutex_ = std::move(mutex);
    return true;
}

void Win32ShowSlots::Release() {
    if (slotMutex_) ReleaseMutex(slotMutex_.get());
    slotMutex_.reset();
}

// A free slot's mutex is taken for a moment and given back.
bool Win32ShowSlots::HeldByOther(int slot) {
    const unique_handle mutex(
        OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, SlotName(slot).c_str()));
    if (!mutex) return false; // nobody has it open
    if (!Acquired(WaitForSingleObject(mutex.get(), 0))) return true;
    ReleaseMutex(mutex.get());
    return false;
}

std::optional<platform::RegistryValue> Win32Session::ReadUserValue(const std::string& keyPath,
                                                                   const std::string& valueName) {
    return ReadUserRegistryValue(keyPath, valueName);
}

std::optional<std::int32_t> Win32Session::VerifyPassword(std::intptr_t owner) {
    // Only the old consumer line of Windows has this dialog; everywhere else
    // the system locks the session itself.
    using Verify = BOOL(WINAPI*)(HWND);
    const auto verify = SystemFunction<Verify>(L"password.cpl", "VerifyScreenSavePwd");
    if (!verify) return std::nullopt;
    return static_cast<std::int32_t>(verify(WindowOf(owner)));
}

void Win32Session::ChangePassword(std::int32_t owner) {
    // mpr exports only the ANSI form; the provider name is plain ASCII.
    using ChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    if (const auto change = SystemFunction<ChangeFn>(L"mpr.dll", "PwdChangePasswordA"))
        change("SCRSAVE", WindowOf(owner), 0, nullptr);
}

} // namespace orv::win32
