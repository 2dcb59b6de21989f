// A clock for tests: it stands still until the test sets or advances it, across days, months
// and years.
#pragma once

#include "calendar/calendar_math.h"
#include "clock/time_source.h"

namespace test_support {

class FakeTimeSource : public timeclock::TimeSource {
 public:
  explicit FakeTimeSource(timeclock::LocalTime now = {}) : now_(now) {}
  timeclock::LocalTime Now() const override { return now_; }
  void Set(const timeclock::LocalTime& now) { now_ = now; }
  // Moves forward by `seconds` (0 or more).
  void Advance(long seconds) {
    long total = now_.second + seconds;
    now_.second = static_cast<int>(total % 60);
    total = now_.minute + total / 60;
    now_.minute = static_cast<int>(total % 60);
    total = now_.hour + total / 60;
    now_.hour = static_cast<int>(total % 24);
    for (long days = total / 24; days > 0; --days) {
      if (++now_.day > calendar::MonthLength(now_.year, now_.month)) {
        now_.day = 1;
        if (++now_.month > 12) {
          now_.month = 1;
          ++now_.year;
        }
      }
    }
  }

 private:
  timeclock::LocalTime now_;
};

}  // namespace test_support
