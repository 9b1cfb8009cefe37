// The user's session on Windows: the cursor, the screen-saver running flag,
// values of the current user's registry for the password switch, and the
// system's password dialogs where it still has them.
#pragma once
#include "platform/session.h"
#include "saver/show_count.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

// The slots of the show count as named mutexes, which the system releases
// when their holder's process ends.
class Win32ShowSlots : public platform::ShowSlots {
  public:
    bool LockCount() override;
    void UnlockCount() override;
    bool Hold(int slot) override;
    void Release() override;
    bool HeldByOther(int slot) override;

  private:
    unique_handle countMutex_, slotMutex_;
};

class Win32Session : public platform::Session {
  public:
    void ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running) override;
    std::optional<int> CountShow(bool in) override { return count_.Count(in); }
    std::optional<platform::RegistryValue> ReadUserValue(const std::string& keyPath,
                                                         const std::string& valueName) override;
    std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) override;
    void ChangePassword(std::int32_t owner) override;

  private:
    Win32ShowSlots slots_;
    saver::ShowCount count_{slots_};
};

} // namespace orv::win32
