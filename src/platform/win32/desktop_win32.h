// Desktop-wide services on Windows: the cursor, the screen-saver running
// flag, registry values for the password switch, the password dialog where
// the system still has one, and the wallpaper.
#pragma once
#include "platform/desktop.h"

namespace orv::win32 {

class Win32Desktop : public platform::Desktop {
  public:
    void ShowCursor(bool show) override;
    void SetScreenSaverRunning(bool running) override;
    std::optional<platform::RegistryValue>
    QueryRegistryValue(std::uint32_t root, const std::string& keyPath,
                       const std::string& valueName) override;
    std::optional<std::int32_t> VerifyScreenSavePwd(std::intptr_t owner) override;
    void SetWallpaper(const std::string& bmpPath) override;
    std::string UserDataFolder() override;
};

} // namespace orv::win32
