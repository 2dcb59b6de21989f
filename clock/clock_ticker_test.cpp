#include "clock/clock_ticker.h"

#include <gtest/gtest.h>

#include "clock/alarm_time.h"
#include "test_support/fake_time_source.h"

namespace timeclock {
namespace {

using test_support::FakeTimeSource;

// Ticks once a second from `clock`'s time for `seconds`, collecting what fires.
struct Fired {
  std::vector<std::pair<LocalTime, int>> alarms;
  std::vector<std::pair<LocalTime, int>> casts;
  std::vector<LocalTime> new_days;
};
Fired TickEverySecond(ClockTicker& ticker, FakeTimeSource& clock, long seconds, long step = 1) {
  Fired fired;
  for (long s = 0; s < seconds; s += step) {
    clock.Advance(step);
    ClockTicker::Events e = ticker.Tick(clock.Now());
    for (int index : e.alarms) fired.alarms.push_back({clock.Now(), index});
    if (e.time_cast >= 0) fired.casts.push_back({clock.Now(), e.time_cast});
    if (e.new_day) fired.new_days.push_back(clock.Now());
  }
  return fired;
}

TEST(ClockTickerDateChange, MidnightFiresTheDateChangeOnceOnTheNewDay) {
  const struct {
    LocalTime before;
    LocalTime after;
  } cases[] = {
      {{2027, 1, 31, 23, 59, 59}, {2027, 2, 1, 0, 0, 0}},
      {{2027, 2, 28, 23, 59, 59}, {2027, 3, 1, 0, 0, 0}},
      {{2028, 2, 28, 23, 59, 59}, {2028, 2, 29, 0, 0, 0}},
      {{2028, 2, 29, 23, 59, 59}, {2028, 3, 1, 0, 0, 0}},
      {{2026, 12, 31, 23, 59, 59}, {2027, 1, 1, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    FakeTimeSource clock(c.before);
    ClockTicker ticker(clock.Now());
    ticker.EventList() = {"00:00", "07:30", ""};
    Fired fired = TickEverySecond(ticker, clock, 120);
    ASSERT_EQ(fired.alarms.size(), 1u) << c.after.month << "/" << c.after.day;
    ASSERT_EQ(fired.new_days.size(), 1u);
    EXPECT_EQ(fired.new_days[0], c.after);
    EXPECT_EQ(fired.alarms[0].first, c.after);
    EXPECT_EQ(fired.alarms[0].second, 0);
  }
}

TEST(ClockTickerAlarms, FirstMatchingEntryOnlyAndNeverTheMinuteOfStart) {
  FakeTimeSource clock({2026, 12, 8, 7, 29, 58});
  ClockTicker ticker(clock.Now());
  ticker.EventList() = {"00:00", "07:30", "07:30 again", " 7:31", "7:32", "07:3"};
  Fired fired = TickEverySecond(ticker, clock, 5 * 60);
  ASSERT_EQ(fired.alarms.size(), 1u);
  EXPECT_EQ(fired.alarms[0].second, 1);
  EXPECT_EQ(fired.alarms[0].first, (LocalTime{2026, 12, 8, 7, 30, 0}));

  // An alarm for the very minute the clock started in does not ring.
  FakeTimeSource start({2026, 12, 8, 7, 30, 10});
  ClockTicker late(start.Now());
  late.EventList() = {"07:30"};
  EXPECT_TRUE(TickEverySecond(late, start, 40).alarms.empty());
}

TEST(ClockTickerTimeCast, MarksAt55AndAt00OncePerHourEachAndOnlyThoseChosen) {
  FakeTimeSource clock({2026, 12, 31, 22, 50, 30});
  ClockTicker ticker(clock.Now());
  ticker.SetTimeCast(ClockTicker::kAllMarks);
  Fired fired = TickEverySecond(ticker, clock, 2 * 3600);
  ASSERT_EQ(fired.casts.size(), 24u);
  EXPECT_EQ(fired.casts[0], std::make_pair(LocalTime{2026, 12, 31, 22, 55, 0}, 11));
  EXPECT_EQ(fired.casts[1], std::make_pair(LocalTime{2026, 12, 31, 23, 0, 0}, 0));
  EXPECT_EQ(fired.casts[13], std::make_pair(LocalTime{2027, 1, 1, 0, 0, 0}, 0));
  EXPECT_EQ(fired.casts[12], std::make_pair(LocalTime{2026, 12, 31, 23, 55, 0}, 11));

  FakeTimeSource other({2026, 12, 31, 23, 50, 30});
  ClockTicker some(other.Now());
  some.SetTimeCast(1u << 11);  // minute 55 only
  Fired only = TickEverySecond(some, other, 3600);
  ASSERT_EQ(only.casts.size(), 1u);
  EXPECT_EQ(only.casts[0].second, 11);
}

TEST(ClockTickerMissed, AlarmsOfSkippedMinutesRingOnceTodayWhenCaughtUp) {
  struct Case {
    LocalTime last_seen;
    LocalTime next_seen;
    bool catch_up;
    std::vector<int> fired;
  };
  const Case cases[] = {
      // Asleep from 07:20 to 07:45: the 07:30 alarm rings when the clock wakes.
      {{2026, 12, 8, 7, 20, 0}, {2026, 12, 8, 7, 45, 3}, true, {1}},
      {{2026, 12, 8, 7, 20, 0}, {2026, 12, 8, 7, 45, 3}, false, {}},
      // Asleep through midnight and 07:30: both ring, in their order.
      {{2026, 12, 31, 23, 50, 0}, {2027, 1, 1, 8, 0, 0}, true, {0, 1}},
      // Asleep from 07:00 yesterday to 06:00 today: yesterday's 07:30 and 23:00 are over.
      {{2026, 12, 7, 7, 0, 0}, {2026, 12, 8, 6, 0, 0}, true, {0}},
      // The clock set back: nothing is caught up.
      {{2026, 12, 8, 8, 0, 0}, {2026, 12, 8, 7, 0, 0}, true, {}},
      // Woken in the alarm's own minute: it rings once, not twice.
      {{2026, 12, 8, 7, 0, 0}, {2026, 12, 8, 7, 30, 20}, true, {1}},
  };
  for (const Case& c : cases) {
    ClockTicker ticker(c.last_seen);
    ticker.SetCatchUp(c.catch_up);
    ticker.EventList() = {"00:00", "07:30", "23:00"};
    EXPECT_EQ(ticker.Tick(c.next_seen).alarms, c.fired)
        << c.next_seen.hour << ":" << c.next_seen.minute << " " << c.catch_up;
    EXPECT_TRUE(ticker.Tick(c.next_seen).alarms.empty());
    // A day later than the last one seen is a new day, however it was reached.
    ClockTicker fresh(c.last_seen);
    EXPECT_EQ(fresh.Tick(c.next_seen).new_day, c.next_seen.DayNumber() > c.last_seen.DayNumber());
  }
}

TEST(AlarmTime, EntriesAndTypedFields) {
  EXPECT_EQ(FirstInvalidEntry({"00:00", "7:3x", "bad"}), 2);
  EXPECT_EQ(FirstInvalidEntry({"00:00", "7:30", " 23:59:59 "}), 0);
  EXPECT_EQ(FirstInvalidEntry({"24:00"}), 1);
  EXPECT_EQ(FirstInvalidEntry({""}), 1);
  EXPECT_EQ(InvalidEntryMessage(2).substr(0, 1), "2");
  const struct {
    const char* typed;
    const char* stored;
  } fields[] = {{" 7:30", "07:30"}, {"7 :30", "07:30"}, {"7:30", "07:30"},
                {"07:30", "07:30"}, {"  :  ", "  :  "}, {"12:  ", "12:  "},
                {"25:00", "25:00"}, {"_7:05", "07:05"}, {"", ""}};
  for (const auto& f : fields) EXPECT_EQ(AlarmFieldText(f.typed), f.stored) << f.typed;
}

}  // namespace
}  // namespace timeclock
