// The user's session as a screen saver sees it: the mouse cursor, the flag
// that tells the system a screen saver runs, the password switch in the
// user's desktop settings, and the system's password dialogs.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace orv::platform {

enum class RegistryType { Text, ExpandableText, MultiText, Number32, Other };

// One registry value as the platform stored it. For the text types the data
// is the stored text as UTF-8, its terminating NUL(s) included; for every
// other type the raw bytes (a Number32 little-endian).
struct RegistryValue {
    RegistryType type = RegistryType::Other;
    std::string data;
};

// Named slots shared by every process of ours on the system, each held by at
// most one process and let go by the system when its holder ends however it
// ends: what the shows of ours count one another with (saver/show_count.h).
class ShowSlots {
  public:
    virtual ~ShowSlots() = default;
    // Takes the lock that makes counting in and out one process at a time;
    // false when it could not be had within a short time.
    virtual bool LockCount() = 0;
    virtual void UnlockCount() = 0;
    // Takes the slot unless it is held; true when this process holds it now.
    virtual bool Hold(int slot) = 0;
    // Lets go of the slot this process holds, if any.
    virtual void Release() = 0;
    // Whether another process holds the slot.
    virtual bool HeldByOther(int slot) = 0;
};

class Session {
  public:
    virtual ~Session() = default;
    // Raises (true) or lowers (false) the cursor display counter by one.
    virtual void ShowCursor(bool show) = 0;
    // Tells the platform that a screen saver starts (true) or stops running.
    virtual void SetScreenSaverRunning(bool running) = 0;
    // Counts this process's show in among the shows of ours running on the
    // system (true) or out again (false); a show whose process ends is
    // counted out however it ends. Returns how many others are counted,
    // or nothing when the call changed nothing (counted in twice, or out
    // while not in).
    virtual std::optional<int> CountShow(bool in) = 0;
    // One value under a key of the current user's registry; nothing when the
    // key or the value cannot be read.
    virtual std::optional<RegistryValue> ReadUserValue(const std::string& keyPath,
                                                       const std::string& valueName) = 0;
    // The platform's screen-saver password dialog, owned by `owner`: its
    // answer (nonzero = accepted), or nothing when the platform has no such
    // dialog (the system then locks the session itself).
    virtual std::optional<std::int32_t> VerifyPassword(std::intptr_t owner) = 0;
    // The platform's dialog for a new screen-saver password, owned by `owner`.
    virtual void ChangePassword(std::int32_t owner) = 0;
};

} // namespace orv::platform
