// Wall clock and the pseudo-random generator.
#pragma once

namespace orv::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

class Random {
  public:
    virtual ~Random() = default;
    // Seeds from the system clock; called once per show.
    virtual void Seed() = 0;
    // Uniform in [0, 1).
    virtual double Next() = 0;
};

} // namespace orv::platform
