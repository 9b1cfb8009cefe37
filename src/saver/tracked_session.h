// The session as the program changes it: every call goes to the system's
// session, and the cursor's hides and shows are counted, so that the fatal
// path can put the desktop back as the program found it (the cursor shown as
// often as it was hidden, the running flag lowered as a show's end does).
#pragma once
#include "platform/session.h"

namespace orv::saver {

class TrackedSession final : public platform::Session {
  public:
    explicit TrackedSession(platform::Session& system) : system_(system) {}

    void ShowCursor(bool show) override {
        system_.ShowCursor(show);
        hidden_ += show ? -1 : 1;
    }
    void SetScreenSaverRunning(bool running) override { system_.SetScreenSaverRunning(running); }
    std::optional<int> CountShow(bool in) override { return system_.CountShow(in); }
    std::optional<platform::RegistryValue> ReadUserValue(const std::string& keyPath,
                                                         const std::string& valueName) override {
        return system_.ReadUserValue(keyPath, valueName);
    }
    std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) override {
        return system_.VerifyPassword(owner);
    }
    void ChangePassword(std::int32_t owner) override { system_.ChangePassword(owner); }

    // The cursor shown as often as it is hidden, and the show counted out.
    void Restore() noexcept;

  private:
    platform::Session& system_;
    int hidden_ = 0;
};

} // namespace orv::saver
