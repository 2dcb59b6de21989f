// AccurateLunarCalendar: the lunisolar date, rokuyou and solar term of a civil date from the
// instants of the new moons and of the Sun's longitudes in Japan time, by the rule of the
// modern almanacs (a month begins on the day of its new moon; the month holding 冬至 is month
// 11; of thirteen months between two months 11, the first without a principal term is leap).
// Each span between two months 11 and each solar term is worked out when first asked for and
// kept: a month's first look needs about two dozen of a span's terms, not every term of three
// years.
#pragma once

#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "calendar/lunar_calendar.h"

namespace calendar {

class AccurateLunarCalendar {
 public:
  static constexpr int kFirstYear = 1901;
  static constexpr int kLastYear = 2099;
  static bool InRange(int year) { return year >= kFirstYear && year <= kLastYear; }

  // For dates of kFirstYear-kLastYear; std::out_of_range for others.
  LunarDateRecord LunarDate(int year, int month, int day);
  // The solar term that begins on the date (code page 932) and its index 0-23 (0 = 春分), or
  // an empty name and -1.
  std::string_view SolarTerm(int year, int month, int day, int* index = nullptr);

  // The months from the month 11 that holds the 冬至 of `year - 1` up to (not including) the
  // one that holds the 冬至 of `year`: twelve, or thirteen with one leap month.
  struct Month {
    int first_day;  // Julian Day Number of the day of its new moon, in Japan
    int year;       // lunar year
    int number;     // 1-12
    bool leap;
  };
  const std::vector<Month>& MonthsBefore(int year);

  // The Julian Day Number (in Japan) on which term `index` (0-23) of a civil year begins.
  int SolarTermDay(int year, int index);

 private:
  struct Span {
    std::vector<Month> months;
    int end = 0;  // first day of the next month 11
  };
  const Span& SpanBefore(int year);

  std::map<int, Span> spans_;
  std::map<int, std::array<int, 24>> terms_;  // by year; 0 for a term not yet worked out
};

}  // namespace calendar
