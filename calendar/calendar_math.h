// Calendar arithmetic of the month calendar control: leap years, month lengths and Julian Day
// Numbers across the Julian-Gregorian change of October 1582, and the equinox days by formula.
#pragma once

#include <stdexcept>

namespace calendar {

// A date in the ten days that October 1582 skipped.
class EJuliusError : public std::runtime_error {
 public:
  EJuliusError();  // "1582/10/5-10/14は存在しません。" (UTF-8)
};

// The civil (proleptic Gregorian) rule that day files, the month view and the entry dialog
// use for every year: divisible by 4 and not by 100, or divisible by 400.
bool GregorianLeapYear(int year);
int GregorianMonthLength(int year, int month);  // 28-31; month 1-12

// The calendar control's own rule, which differs from the civil one in early centuries: Julian
// (every fourth year) up to 1581, Gregorian after, and no leap year in a year divisible by
// 4000.
bool LeapYear(int year);
int MonthLength(int year, int month);  // 28-31; std::out_of_range for a month outside 1-12
// Julian calendar up to 4 October 1582, Gregorian from 15 October 1582 (1 January 2000 gives
// 2451545); throws EJuliusError for 5-14 October 1582.
int DayNumber(int year, int month, int day);
// 1 = Sunday ... 7 = Saturday; throws like DayNumber.
int CalendarWeekday(int year, int month, int day);
// Julian Day Numbers of the equinox dates in Japan by formula (accurate for about 1900-2100).
int VernalEquinoxDay(int year);
int AutumnalEquinoxDay(int year);

}  // namespace calendar
