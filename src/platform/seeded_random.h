// The program's random numbers: uniform in [0, 1) from a Mersenne twister,
// seeded from a number the system gives that differs from run to run (the
// Windows clock derives from it).
#pragma once
#include <cstdint>
#include <random>

#include "platform/clock.h"

namespace orv {

class SeededRandom : public platform::Random {
  public:
    void Seed() override { engine_.seed(static_cast<std::mt19937::result_type>(SystemSeed())); }
    double Next() override { return uniform_(engine_); }

  protected:
    virtual std::uint64_t SystemSeed() = 0;

  private:
    std::mt19937 engine_;
    std::uniform_real_distribution<double> uniform_{0.0, 1.0};
};

} // namespace orv
