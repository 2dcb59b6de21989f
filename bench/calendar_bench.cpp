// How long the month grid's date cells take: the lunisolar conversion per call, and everything
// one month's 32 date cells need (rokuyou, solar term, holiday state, date colour), computed
// afresh and answered from the almanac on repaints, by either lunisolar method and either set
// of holiday rules (argument 0: the accurate method and the law; 1: the series and the table).
#include <benchmark/benchmark.h>

#include <optional>

#include "calendar/accurate_lunar_calendar.h"
#include "calendar/calendar_math.h"
#include "calendar/chosen_holiday_rules.h"
#include "calendar/date_colour.h"
#include "calendar/holiday_law.h"
#include "calendar/holiday_tables.h"
#include "calendar/lunar_almanac.h"
#include "calendar/lunar_calendar.h"
#include "calendar/table_holiday_rules.h"

namespace {

struct Date {
  int y, m, d;
};

// A walk over the days of 2000-2031, so that no call repeats the last one.
Date NextDay(Date date) {
  if (++date.d > calendar::MonthLength(date.y, date.m)) {
    date.d = 1;
    if (++date.m > 12) {
      date.m = 1;
      if (++date.y > 2031) date.y = 2000;
    }
  }
  return date;
}

void BM_LunarDate(benchmark::State& state) {
  calendar::LunarCalendar lunar;
  Date date{2000, 1, 1};
  for (auto _ : state) {
    benchmark::DoNotOptimize(lunar.LunarDate(date.y, date.m, date.d));
    date = NextDay(date);
  }
}
BENCHMARK(BM_LunarDate);

void BM_SolarTerm(benchmark::State& state) {
  calendar::LunarCalendar lunar;
  Date date{2000, 1, 1};
  for (auto _ : state) {
    benchmark::DoNotOptimize(lunar.SolarTerm(date.y, date.m, date.d));
    date = NextDay(date);
  }
}
BENCHMARK(BM_SolarTerm);

// The accurate method's first look at a year: the new moons and terms of a span between two
// months 11 and of the civil year, worked out from nothing.
void BM_AccurateFirstDayOfAYear(benchmark::State& state) {
  int year = 2000;
  for (auto _ : state) {
    calendar::AccurateLunarCalendar calendar;
    benchmark::DoNotOptimize(calendar.LunarDate(year, 6, 15));
    benchmark::DoNotOptimize(calendar.SolarTerm(year, 6, 15));
    if (++year > 2031) year = 2000;
  }
}
BENCHMARK(BM_AccurateFirstDayOfAYear)->Unit(benchmark::kMicrosecond);

// One year of the holiday law, worked out from nothing.
void BM_LawHolidaysOfAYear(benchmark::State& state) {
  int year = 2000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(calendar::LawHolidaysOf(year));
    if (++year > 2031) year = 2000;
  }
}
BENCHMARK(BM_LawHolidaysOfAYear)->Unit(benchmark::kMicrosecond);

// The date cells of one full month as the grid draws them: 16 rows in each grid, the rows past
// the month's end empty.
template <class Almanac>
void DrawMonthCells(Almanac& almanac, calendar::HolidayRules& rules, int year, int month) {
  calendar::RestDays rest_days;
  rest_days.holidays_are_rest = true;
  rest_days.sunday_only = true;
  int last = calendar::MonthLength(year, month);
  for (int cell = 0; cell < 32; ++cell) {
    int day = cell + 1;
    if (day > last) continue;
    auto almanac_day = almanac(year, month, day);
    calendar::DayHoliday holiday = rules.DrawDay(year, month, day);
    std::uint32_t colour =
        calendar::DateTextColour(holiday, calendar::WeekdayOf(year, month, day), rest_days);
    benchmark::DoNotOptimize(almanac_day);
    benchmark::DoNotOptimize(colour);
  }
}

calendar::LunarMethod MethodOf(const benchmark::State& state) {
  return state.range(0) == 0 ? calendar::LunarMethod::kAccurate : calendar::LunarMethod::kSeries;
}
calendar::HolidayRulesChoice RulesOf(const benchmark::State& state) {
  return state.range(0) == 0 ? calendar::HolidayRulesChoice::kLaw
                             : calendar::HolidayRulesChoice::kTable;
}

// Every month a new one, with nothing remembered: the series computes each day; the accurate
// method and the law work out a year when a month of it comes first, so this is the cost of
// the first switch into each month.
void BM_MonthCellsComputed(benchmark::State& state) {
  calendar::LunarCalendar lunar;
  calendar::ChosenHolidayRules rules(RulesOf(state));
  std::optional<calendar::LunarAlmanac> almanac;
  const bool series = MethodOf(state) == calendar::LunarMethod::kSeries;
  auto compute = [&](int y, int m, int d) {
    if (!series) return almanac->Day(y, m, d);
    calendar::AlmanacDay day;
    day.lunar = lunar.LunarDate(y, m, d);
    day.solar_term_name = lunar.SolarTerm(y, m, d, &day.solar_term);
    return day;
  };
  int month = 1, year = 2000;
  for (auto _ : state) {
    if (!series) almanac.emplace(calendar::LunarMethod::kAccurate);
    rules = calendar::ChosenHolidayRules(RulesOf(state));
    DrawMonthCells(compute, rules, year, month);
    if (++month > 12) {
      month = 1;
      if (++year > 2031) year = 2000;
    }
  }
}
BENCHMARK(BM_MonthCellsComputed)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A month switch or repaint of a month already drawn once: the almanac answers from memory.
void BM_MonthCellsRepaint(benchmark::State& state) {
  calendar::LunarAlmanac almanac(MethodOf(state));
  calendar::ChosenHolidayRules rules(RulesOf(state));
  auto lookup = [&](int y, int m, int d) { return almanac.Day(y, m, d); };
  DrawMonthCells(lookup, rules, 2000, 3);
  for (auto _ : state) DrawMonthCells(lookup, rules, 2000, 3);
}
BENCHMARK(BM_MonthCellsRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
