// Opens the program's windows. Each call creates a new window; the program
// lives until the last of them closes.
#pragma once
#include <cstdint>

namespace orv::platform {

// What the system says of a window handle given as the preview's host.
struct HostWindow {
    bool exists = false;
    bool desktop = false;    // the desktop window itself
    bool ownProcess = false; // a window of this program
};

class ProgramWindows {
  public:
    virtual ~ProgramWindows() = default;
    // The full-screen slideshow, shown without waiting for it.
    virtual void ShowSlideshow() = 0;
    virtual HostWindow DescribeHost(std::int32_t host) = 0;
    // The slideshow as a child of the preview host window.
    virtual void ShowPreview(std::int32_t host) = 0;
    // The settings dialog, shown without waiting for it.
    virtual void ShowSettings() = 0;
};

} // namespace orv::platform
