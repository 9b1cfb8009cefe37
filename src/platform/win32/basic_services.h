// Message boxes, the clock, the random generator and the cursor on Windows.
#pragma once
#include <random>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/message_box.h"

namespace orv::win32 {

class Win32MessageBoxes : public platform::MessageBoxes {
  public:
    int Show(const std::string& text, int style, const std::string& title) override;
};

class Win32Clock : public platform::Clock {
  public:
    platform::LocalTime Now() const override;
};

class Win32Random : public platform::Random {
  public:
    void Seed() override;
    double Next() override;

  private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

} // namespace orv::win32
