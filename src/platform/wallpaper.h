// The desktop wallpaper and the user's own folder where its bitmap may go.
#pragma once
#include <string>

namespace orv::platform {

class Wallpaper {
  public:
    virtual ~Wallpaper() = default;
    // Makes a bitmap file the desktop wallpaper, kept in the user's profile.
    virtual void Set(const std::string& bmpPath) = 0;
    // The user's own folder for this program's files (created when missing),
    // without a trailing backslash; empty when there is none.
    virtual std::string UserFolder() = 0;
};

} // namespace orv::platform
