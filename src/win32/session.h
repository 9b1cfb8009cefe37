// The user's session on Windows: the cursor, the screen-saver running flag,
// values of the current user's registry for the password switch, and the
// system's password dialogs where it still has them. It remembers what it
// changed, so the fatal path can put the desktop back.
#pragma once
#include "platform/session.h"

namespace orv::win32 {

class Win32Session : public platform::Session {
  public:
    void ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running) override;
    std::optional<platform::RegistryValue> ReadUserValue(const std::string& keyPath,
                                                         const std::string& valueName) override;
    std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) override;
    void ChangePassword(std::int32_t owner) override;

    // Shows the cursor as often as it was hidden and clears the running flag
    // if it was set.
    void Restore() noexcept;

  private:
    int cursorHidden_ = 0;
    bool running_ = false;
};

} // namespace orv::win32
