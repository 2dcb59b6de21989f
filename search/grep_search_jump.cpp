#include "search/grep_search_jump.h"

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

}  // namespace search
