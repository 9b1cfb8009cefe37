// Opens the program's windows on Windows.
#pragma once
#include "platform/forms.h"

namespace orv {
struct modScreenSaver;
}

namespace orv::win32 {

struct Win32Platform;

class Win32Forms : public platform::Forms {
  public:
    Win32Forms(Win32Platform& services, modScreenSaver& module)
        : services_(services), module_(module) {}
    void ShowSlideshow() override;
    void ShowPreview(std::int32_t host) override;
    void ShowSettings() override;

  private:
    Win32Platform& services_;
    modScreenSaver& module_;
};

} // namespace orv::win32
