// The system clock, behind an interface so tests can fix the time.
#pragma once

#include <memory>

namespace tamiral {

struct DateTime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int weekday = 6;  // 0 = Sunday .. 6 = Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime localNow() = 0;
  virtual DateTime utcNow() = 0;
};

std::unique_ptr<Clock> makeSystemClock();

}  // namespace tamiral
