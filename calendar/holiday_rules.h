// HolidayRules: the one interface through which the month grid, the holiday writer and the
// calendar window learn which days are national holidays and what they are called. One object
// is shared by all three, because the grid's drawing leaves behind the equinox and second-Monday
// days that the writer then uses. TableHolidayRules is the program's own table of holidays,
// LawHolidayRules the law as it stood in each year.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calendar {

// The state that drawing months leaves behind. Kept for the life of the process, never saved.
struct HolidayState {
  // Days of the holiday-table entries for 春分の日 (March) and 秋分の日 (September); they carry
  // the equinoxes of the March or September last drawn within 1900-2099.
  int vernal_entry_day = 21;
  int autumnal_entry_day = 23;
  // The main window's own copies for the holiday writer; 0 until a March or September of
  // 1900-2099 (equinoxes) or a Monday of a January or October from 2000 on has been drawn.
  std::int16_t vernal_day = 0;
  std::int16_t autumnal_day = 0;
  std::int16_t second_monday = 0;
};

enum class HolidayKind {
  kNone,
  kTable,              // a fixed date of the holiday table (equinoxes included)
  kSecondMonday,       // 成人の日 / 体育の日 on the second Monday, from 2000 on
  kSubstitute,         // Monday after a fixed holiday on a Sunday (by law: the day off for it)
  kEquinoxSubstitute,  // Monday after an equinox on a Sunday
  kLaw,                // a national holiday by the law of its year
  kBetween,            // a day between two national holidays ("休日")
};

// What the grid needs for one date cell, before its rest-day switches are applied.
struct DayHoliday {
  bool holiday = false;  // drawn red when holidays count as rest days
  HolidayKind kind = HolidayKind::kNone;
  // Code page 932; empty for ordinary days and the table's substitute days off ("休日" for the
  // law's days off).
  std::string_view name;
};

// One holiday name the writer stamps into a day file.
struct HolidayTarget {
  int day;
  std::string_view name;  // code page 932, the writer's name
};

class HolidayRules {
 public:
  virtual ~HolidayRules() = default;

  // The per-cell display rule: call it for every date cell the grid draws, in drawing order.
  // It first updates the state as drawing a day of that month does (equinoxes in March and
  // September, the second Monday on a Monday of January or October from 2000 on), then decides.
  virtual DayHoliday DrawDay(int year, int month, int day) = 0;

  // 1 when the date is a fixed holiday of the table (equinox entries as last drawn), else 0.
  virtual int IsHoliday(int year, int month, int day) const = 0;

  virtual const HolidayState& State() const = 0;

  // The holiday writer's names for the month, in writing order, from the state the grid left.
  virtual std::vector<HolidayTarget> WriterTargets(int year, int month) const = 0;

  // The calendar window's holiday list ("month,day,name", code page 932) as the window starts,
  // and its update whenever the window's calendar shows a new date (second Mondays, equinoxes).
  virtual std::vector<std::string> InitialCalendarWindowList() const = 0;
  virtual void UpdateCalendarWindowList(std::vector<std::string>& list, int year,
                                        int month) const = 0;
  // True when that list names every day off itself, so that the calendar control must not add
  // its own Monday after a listed Sunday; false when the control's rule completes the list.
  virtual bool CalendarWindowListHasDaysOff() const = 0;
};

}  // namespace calendar
