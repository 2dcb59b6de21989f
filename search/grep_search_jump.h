// The day a result line of the search dialog stands for, read back from the line's fixed
// columns; the main window shows that day (month::MonthCursor::ShowDay says where). Free of Qt
// so that the rule stands apart from the dialog.
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

}  // namespace search
