// The user's session on Windows: the cursor, the screen-saver running flag,
// values of the current user's registry for the password switch, and the
// system's password dialogs where it still has them. It remembers what it
// changed, so the fatal path can put the desktop back.
#pragma once
#include "platform/session.h"
#include "win32/unique_handle.h"

namespace orv::win32 {

class Win32Session : public platform::Session {
  public:
    void ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running) override;
    // The count of our shows: each holds one of a set of named mutexes
    // while it runs, which the system releases when its process ends.
    std::optional<int> CountShow(bool in) override;
    std::optional<platform::RegistryValue> ReadUserValue(const std::string& keyPath,
                                                         const std::string& valueName) override;
    std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) override;
    void ChangePassword(std::int32_t owner) override;

    // Shows the cursor as often as it was hidden and counts the show out,
    // clearing the running flag as the show's end does.
    void Restore() noexcept;

  private:
    int cursorHidden_ = 0;
    bool counted_ = false;
    int slot_ = -1; // the mutex this show holds, if any
    unique_handle slotMutex_;
};

} // namespace orv::win32
