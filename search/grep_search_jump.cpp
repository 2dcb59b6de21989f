#include "search/grep_search_jump.h"

#include <algorithm>

#include "calendar/calendar_math.h"
#include "month/month_cursor.h"

namespace search {

namespace {

// The decimal number in `count` characters from `from`; nothing when any of them is not a digit
// (a result of a stray "*.dat" file whose name does not hold a date).
std::optional<int> NumberAt(std::string_view line, size_t from, size_t count) {
  if (from + count > line.size()) return std::nullopt;
  std::string_view text = line.substr(from, count);
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<ResultDate> ResultDateOf(std::string_view line) {
  std::optional<int> year = NumberAt(line, 0, 4), month = NumberAt(line, 5, 2),
                     day = NumberAt(line, 8, 2);
  if (!year || !month || !day) return std::nullopt;
  return ResultDate{*year, *month, *day};
}

std::optional<SearchJump> JumpFor(const ResultDate& date, bool half_month) {
  if (date.day < 1 || date.day > 31 || date.month < 1 || date.month > 12) return std::nullopt;
  // The grid and row come from the main window's own rule; only the month a second-half day
  // is reached through is worked out here.
  month::MonthCursor cursor;
  cursor.SetHalfMonth(half_month);
  const month::GridRow at = cursor.RowOfDay(date.day);
  SearchJump jump{date.year, date.month, date.day, at.grid, at.row};
  if (half_month && at.grid == 1 && ++jump.month > 12) jump.month = 1, ++jump.year;
  // A day the shown month does not have (a result of the 31st shown through the next month, or
  // a file named after a day that does not exist) is kept within that month.
  jump.day = std::min(jump.day, calendar::GregorianMonthLength(jump.year, jump.month));
  return jump;
}

}  // namespace search
