// A clock that shows the time a test sets.
#pragma once

#include "platform/clock.h"

namespace tamiral {

class FakeClock : public Clock {
 public:
  DateTime local;
  DateTime utc;
  DateTime localNow() override { return local; }
  DateTime utcNow() override { return utc; }
};

}  // namespace tamiral
