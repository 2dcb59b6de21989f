// Where the main window goes for a result line of the search dialog: the date read back from
// the line's fixed columns, and the grid row that shows that day in the display mode at hand.
// Free of Qt so that the rule stands apart from the dialog.
#pragma once

#include <optional>
#include <string_view>

namespace search {

struct ResultDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const ResultDate&) const = default;
};

// Year from characters 1-4, month from 6-7, day from 9-10 of a result line
// ("1999/01/05   ：    ..."); nothing when one of them is not a number.
std::optional<ResultDate> ResultDateOf(std::string_view result_line);

// The main window's move: the shown date to set, then the grid (1 left, 2 right) and row that
// get the cursor and the focus.
struct SearchJump {
  int year = 0, month = 0, day = 0;
  int grid = 0, row = 0;
  bool operator==(const SearchJump&) const = default;
};

// Full-month display: days 1-16 in the left grid, 17-31 in the right one, the shown date being
// the result's. Half-month display (the previous month's second half in the left grid, this
// month's first half in the right one): days 1-16 in the right grid with the result's date
// shown; days 17-31 in the left grid with the same day of the next month shown, kept within
// that month (so 31 January shows February, and 20 December shows January of the next year),
// which puts the result's month in the left grid. Nothing for a day outside 1-31 or a month
// outside 1-12.
std::optional<SearchJump> JumpFor(const ResultDate& date, bool half_month);

}  // namespace search
