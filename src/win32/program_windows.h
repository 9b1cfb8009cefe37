// Opens the program's windows on Windows.
#pragma once
#include "platform/program_windows.h"

namespace orv::win32 {

struct Services;

class Win32ProgramWindows : public platform::ProgramWindows {
  public:
    explicit Win32ProgramWindows(Services& services) : services_(services) {}
    void ShowSlideshow() override;
    platform::HostWindow DescribeHost(std::int32_t host) override;
    void ShowPreview(std::int32_t host) override;
    void ShowSettings() override;

  private:
    Services& services_;
};

} // namespace orv::win32
