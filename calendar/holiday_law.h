// The national holidays of a year as the holiday law (国民の祝日に関する法律, 1948) and its
// amendments and special laws had them in force on each date: the named holidays, the
// substitute days off and the days between two holidays, with the names the Cabinet Office
// list gives them. Names are code page 932 bytes.
#pragma once

#include <string>
#include <vector>

namespace calendar {

enum class LawHolidayKind {
  kNational,    // a national holiday, or a one-off day that the law treats as one
  kSubstitute,  // 振替休日: the day off for a national holiday on a Sunday ("休日")
  kBetween,     // 国民の休日: a day between two national holidays ("休日")
};

struct LawHoliday {
  int month = 0, day = 0;
  std::string name;  // code page 932
  LawHolidayKind kind = LawHolidayKind::kNational;
};

// Every holiday of the year in date order; none before the law took effect on 20 July 1948.
std::vector<LawHoliday> LawHolidaysOf(int year);

// The days of the vernal and autumnal equinox in Japan (March day, September day), as the
// holiday law takes them from the almanac.
void LawEquinoxDays(int year, int& vernal, int& autumnal);

}  // namespace calendar
