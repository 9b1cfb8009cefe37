// Opens the program's windows on Windows.
#pragma once
#include "startup/program_windows.h"

namespace orv::win32 {

struct Services;

class Win32ProgramWindows : public startup::ProgramWindows {
  public:
    explicit Win32ProgramWindows(Services& services) : services_(services) {}
    void ShowSlideshow(const saver::Settings& settings) override;
    startup::HostWindow DescribeHost(std::int32_t host) override;
    void ShowPreview(std::int32_t host, const saver::Settings& settings) override;
    void ShowSettings(const saver::Settings& settings) override;

  private:
    Services& services_;
};

} // namespace orv::win32
