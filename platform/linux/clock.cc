#include <sys/time.h>

#include <ctime>

#include "platform/clock.h"

namespace tamiral {

namespace {

DateTime fromTm(const std::tm& tm, long microseconds) {
  DateTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.weekday = tm.tm_wday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(microseconds / 1000);
  return t;
}

class SystemClock : public Clock {
 public:
  DateTime localNow() override { return now(localtime_r); }
  DateTime utcNow() override { return now(gmtime_r); }

 private:
  template <typename Convert>
  static DateTime now(Convert convert) {
    timeval tv{};
    gettimeofday(&tv, nullptr);
    std::tm tm{};
    time_t seconds = tv.tv_sec;
    convert(&seconds, &tm);
    return fromTm(tm, tv.tv_usec);
  }
};

}  // namespace

std::unique_ptr<Clock> makeSystemClock() { return std::make_unique<SystemClock>(); }

}  // namespace tamiral
