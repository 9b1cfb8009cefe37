// The wall clock and the random generator on Windows.
#pragma once
#include <random>

#include "platform/clock.h"

namespace orv::win32 {

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
