// The fixed tables of the national holidays as the program has always known them: the holiday
// table, the table of days that follow a fixed holiday, the per-year equinox days and the
// second-Monday rule, with the plain functions the month grid and the writer are built on.
// Names are code page 932 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace calendar {

// One entry of the holiday table. The end entry (0, 0) closes the table.
struct HolidayEntry {
  std::int32_t month;
  std::int32_t day;
  std::string_view name;  // code page 932
};

// Holiday-table indexes whose day follows the year's equinox.
inline constexpr int kVernalEntry = 3;
inline constexpr int kAutumnalEntry = 9;
inline constexpr int kHolidayEntryCount = 15;  // without the end entry

// The holiday table with its designed days (21 March, 23 September for the equinoxes) and the
// end entry at index 15. The grid's names.
const std::array<HolidayEntry, kHolidayEntryCount + 1>& HolidayTable();

// The three places that show holiday names; three holidays are named differently in each.
enum class HolidayNameUse { kGrid, kWriter, kCalendarWindow };
// The name of holiday-table entry `index` (0-14) as `use` shows it, code page 932.
std::string_view HolidayName(int index, HolidayNameUse use);

// (month, day) pairs that follow a fixed holiday, ended by (0, 0).
const std::array<std::array<std::int32_t, 2>, 14>& DayAfterHolidayTable();

// One byte per year 1900-2099: high nibble = vernal day - 20, low nibble = autumnal day - 23,
// both as signed four-bit values.
const std::array<std::uint8_t, 200>& EquinoxTable();

// 0 = Sunday ... 6 = Saturday (Zeller on the Gregorian calendar); 7 for dates before
// 15 October 1582, which have no weekday in the main window.
int WeekdayOf(int year, int month, int day);

// 2 when the date follows a fixed holiday (16 January and 11 October no longer count from 2000
// on, since those holidays moved to Mondays), else 0.
int IsDayAfterHoliday(int year, int month, int day);

// 0 and the equinox days of the year (March day, September day) for 1900-2099; -1 otherwise,
// leaving the outputs untouched. Either output may be null.
int GetEquinoxDays(int year, int* vernal, int* autumnal);

// Day of the month's second Monday; 0 for months before 15 October 1582 (no weekday).
int SecondMonday(int year, int month);

// The holiday-table scan: 1 when the date is a fixed holiday of the table whose equinox entries
// carry `vernal_day` and `autumnal_day`, else 0. From 2000 on 15 January and 10 October are
// ordinary days.
int IsTableHoliday(int year, int month, int day, int vernal_day, int autumnal_day);
// The index of the table entry that IsTableHoliday found, -1 for none.
int TableHolidayIndex(int year, int month, int day, int vernal_day, int autumnal_day);

}  // namespace calendar
