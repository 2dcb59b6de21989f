// mirune-cli jdn: the Julian Day Number of a date and its weekday (1 = Sunday ... 7 = Saturday)
// as the calendar control counts them, Julian calendar before 15 October 1582.
#include <cstdio>
#include <ostream>

#include "calendar/calendar_math.h"
#include "cli/cli_context.h"

namespace cli {
namespace {

// Dates are checked against the control's own calendar, so 1500-02-29 is a real day.
Date ParseCalendarDate(const std::string& text) {
  int y, m, d;
  char tail;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' ||
      std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 ||
      text.find_first_not_of("0123456789-") != std::string::npos) {
    throw UsageError("日付は YYYY-MM-DD で指定してください: " + text);
  }
  if (m < 1 || m > 12 || d < 1 || d > calendar::MonthLength(y, m)) {
    throw UsageError("存在しない日付です: " + text);
  }
  return {y, m, d};
}

int RunJdn(CliContext& context, const Args& args) {
  if (args.size() != 1) throw UsageError("使い方: jdn YYYY-MM-DD");
  Date date = ParseCalendarDate(args[0]);
  try {
    int jd = calendar::DayNumber(date.year, date.month, date.day);
    *context.out << jd << '\t' << calendar::CalendarWeekday(date.year, date.month, date.day)
                 << '\n';
  } catch (const calendar::EJuliusError& e) {
    throw CommandError(e.what());
  }
  return 0;
}

CommandRegistration jdn_registration("jdn", "jdn YYYY-MM-DD", RunJdn);

}  // namespace
}  // namespace cli
