// Desktop-wide services: the mouse cursor, the screen-saver running flag,
// the password switch and check, and the wallpaper.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv::platform {

// One registry value as the platform stored it. For the text types the data
// is the stored text as UTF-8, its terminating NUL(s) included; for every
// other type the raw bytes.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;
};

inline constexpr std::uint32_t kRegSz = 1, kRegExpandSz = 2, kRegDword = 4, kRegMultiSz = 7;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Raises (true) or lowers (false) the cursor display counter by one.
    virtual void ShowCursor(bool show) = 0;
    // Tells the platform that a screen saver starts (true) or stops running.
    virtual void SetScreenSaverRunning(bool running) = 0;
    // One value under a key of a registry root; nothing when the key or the
    // value cannot be read.
    virtual std::optional<RegistryValue> QueryRegistryValue(std::uint32_t root,
                                                            const std::string& keyPath,
                                                            const std::string& valueName) = 0;
    // The platform's screen-saver password dialog, owned by `owner`: its
    // answer (nonzero = accepted), or nothing when the platform has no such
    // dialog (the system then locks the session itself).
    virtual std::optional<std::int32_t> VerifyScreenSavePwd(std::intptr_t owner) = 0;
    // Makes a bitmap file the desktop wallpaper, kept in the user's profile.
    virtual void SetWallpaper(const std::string& bmpPath) = 0;
    // The user's own folder for this program's files (created when missing),
    // without a trailing backslash; empty when there is none.
    virtual std::string UserDataFolder() = 0;
};

} // namespace orv::platform
