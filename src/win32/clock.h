// The wall clock and the random generator's seed on Windows.
#pragma once
#include "platform/clock.h"
#include "platform/seeded_random.h"

namespace orv::win32 {

class Win32Clock : public platform::Clock {
  public:
    platform::LocalTime Now() const override;
};

class Win32Random : public SeededRandom {
  protected:
    std::uint64_t SystemSeed() override;
};

} // namespace orv::win32
