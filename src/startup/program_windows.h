// The windows start-up opens, each with the settings it needs, as a value.
// Each call creates a new window; the program lives until the last of them
// closes. The Windows layer implements it.
#pragma once
#include <cstdint>

#include "saver/settings.h"

namespace orv::startup {

// What the system says of a window handle given as the preview's host.
struct HostWindow {
    bool exists = false;
    bool desktop = false;    // the desktop window itself
    bool ownProcess = false; // a window of this program
};

// Whether a window can hold the preview: one that exists, and neither the
// desktop (a child of it would be a full-screen window that nothing ends)
// nor a window of this program.
bool CanHoldPreview(const HostWindow& host);

class ProgramWindows {
  public:
    virtual ~ProgramWindows() = default;
    // The full-screen slideshow, shown without waiting for it.
    virtual void ShowSlideshow(const saver::Settings& settings) = 0;
    virtual HostWindow DescribeHost(std::int32_t host) = 0;
    // The slideshow as a child of the preview host window.
    virtual void ShowPreview(std::int32_t host, const saver::Settings& settings) = 0;
    // The settings dialog, shown without waiting for it.
    virtual void ShowSettings(const saver::Settings& settings) = 0;
};

} // namespace orv::startup
