#include "win32/session.h"

#include <windows.h>

#include <new>
#include <string>
#include <utility>

#include "saver/running_flag.h"
#include "win32/settings_store.h"

namespace orv::win32 {

void Win32Session::ShowCursor(bool show) {
    ::ShowCursor(show ? TRUE : FALSE);
    cursorHidden_ += show ? -1 : 1;
}

void Win32Session::SetScreenSaverRunning(bool running) {
    UINT previous = 0;
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

namespace {

// More shows of ours than anyone runs at once; one beyond them is counted
// but holds no mutex, so others do not see it.
constexpr int kShowSlots = 32;

std::wstring SlotName(int slot) {
    return L"Orvandel.Show." + std::to_wstring(slot);
}

bool Acquired(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED; // abandoned: its show ended
}

// Counting in and out one process at a time, so that of two shows ending
// together one sees the other gone. Never waits long: a stuck holder only
// costs exactness.
class CountLock {
  public:
    CountLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Orvandel.ShowCount")) {
        held_ = mutex_ && Acquired(WaitForSingleObject(mutex_.get(), 2000));
    }
    ~CountLock() {
        if (held_) ReleaseMutex(mutex_.get());
    }
    CountLock(const CountLock&) = delete;
    CountLock& operator=(const CountLock&) = delete;

  private:
    unique_handle mutex_;
    bool held_ = false;
};

// The slots other than `own` that a running show holds. A free slot's
// mutex is taken for a moment and given back.
int OtherShows(int own) {
    int others = 0;
    for (int slot = 0; slot < kShowSlots; ++slot) {
        if (slot == own) continue;
        const unique_handle mutex(
            OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, SlotName(slot).c_str()));
        if (!mutex) continue; // nobody has it open
        if (Acquired(WaitForSingleObject(mutex.get(), 0)))
            ReleaseMutex(mutex.get());
        else
            ++others;
    }
    return others;
}

} // namespace

std::optional<int> Win32Session::CountShow(bool in) {
    if (counted_ == in) return std::nullopt;
    try {
        const CountLock lock;
        counted_ = in;
        if (!in) {
            if (slotMutex_) ReleaseMutex(slotMutex_.get());
            slotMutex_.reset();
            return OtherShows(std::exchange(slot_, -1));
        }
        for (int slot = 0; slot < kShowSlots && !slotMutex_; ++slot) {
            unique_handle mutex(CreateMutexW(nullptr, FALSE, SlotName(slot).c_str()));
            if (mutex && Acquired(WaitForSingleObject(mutex.get(), 0))) {
                slotMutex_ = std::move(mutex);
                slot_ = slot;
            }
        }
        return OtherShows(slot_);
    } catch (const std::bad_alloc&) {
        return 0; // as if alone, as before there was a count
    }
}

void Win32Session::Restore() noexcept {
    for (; cursorHidden_ > 0; --cursorHidden_)
        ::ShowCursor(TRUE);
    saver::LowerRunningFlag(*this);
}

std::optional<platform::RegistryValue> Win32Session::ReadUserValue(const std::string& keyPath,
                                                                   const std::string& valueName) {
    return ReadUserRegistryValue(keyPath, valueName);
}

std::optional<std::int32_t> Win32Session::VerifyPassword(std::intptr_t owner) {
    // Only the old consumer line of Windows has this dialog; everywhere else
    // the system locks the session itself.
    const unique_hmodule cpl(LoadLibraryW(L"password.cpl"));
    if (!cpl) return std::nullopt;
    using Verify = BOOL(WINAPI*)(HWND);
    const auto verify = reinterpret_cast<Verify>(
        reinterpret_cast<void*>(GetProcAddress(cpl.get(), "VerifyScreenSavePwd")));
    if (!verify) return std::nullopt;
    return static_cast<std::int32_t>(verify(reinterpret_cast<HWND>(owner)));
}

void Win32Session::ChangePassword(std::int32_t owner) {
    // mpr exports only the ANSI form; the provider name is plain ASCII.
    using ChangeFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
    const unique_hmodule mpr(LoadLibraryW(L"mpr.dll"));
    if (!mpr) return;
    const auto change = reinterpret_cast<ChangeFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr.get(), "PwdChangePasswordA")));
    if (!change) return;
    change("SCRSAVE", reinterpret_cast<HWND>(static_cast<INT_PTR>(owner)), 0, nullptr);
}

} // namespace orv::win32
