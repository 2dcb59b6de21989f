// The comma-text rules of the toolkit's string lists, which the calendar control's day lists and
// its type-of-day text follow: items separated by commas or blanks, an item in double quotes
// keeps its blanks and commas, a doubled quote inside quotes stands for one. Works on code page
// 932 bytes (no trail byte is a comma, a quote or a blank).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace calendar {

// The toolkit's errors for a day-list text whose month or day is no integer, or that lacks an
// item that is asked for.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EListIndexError : public std::out_of_range {
 public:
  using std::out_of_range::out_of_range;
};

std::vector<std::string> SplitCommaText(std::string_view text);
// Joins with commas, quoting an item that holds a blank, a control character, a comma or a
// quote; a single empty item gives "".
std::string JoinCommaText(const std::vector<std::string>& items);

}  // namespace calendar
