// Opens the program's windows. Each call creates a new window; the program
// lives until the last of them closes.
#pragma once
#include <cstdint>

namespace orv::platform {

class ProgramWindows {
  public:
    virtual ~ProgramWindows() = default;
    // The full-screen slideshow, shown without waiting for it.
    virtual void ShowSlideshow() = 0;
    // Whether `host` names a window that can hold the preview.
    virtual bool CanHostPreview(std::int32_t host) = 0;
    // The slideshow as a child of the preview host window.
    virtual void ShowPreview(std::int32_t host) = 0;
    // The settings dialog, shown without waiting for it.
    virtual void ShowSettings() = 0;
};

} // namespace orv::platform
