// The desktop wallpaper on Windows and the user's local folder of ours.
#pragma once
#include "platform/wallpaper.h"

namespace orv::win32 {

class Win32Wallpaper : public platform::Wallpaper {
  public:
    void Set(const std::string& bmpPath) override;
    std::string UserFolder() override;
};

} // namespace orv::win32
