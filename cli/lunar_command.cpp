// mirune-cli lunar: the lunisolar date, rokuyou and solar term of every day of a range, one
// tab-separated line per day, as the month grid shows them.
#include <ostream>

#include "calendar/calendar_math.h"
#include "calendar/lunar_calendar.h"
#include "cli/cli_context.h"
#include "platform/cp932.h"

namespace cli {
namespace {

Date InRange(const std::string& text) {
  Date date = ParseDate(text);
  if (date.year < calendar::LunarCalendar::kFirstYear ||
      date.year > calendar::LunarCalendar::kLastYear) {
    throw UsageError("旧暦は 1976 年から 2075 年までです: " + text);
  }
  return date;
}

bool Before(const Date& a, const Date& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}

int RunLunar(CliContext& context, const Args& args) {
  if (args.empty() || args.size() > 2) throw UsageError("使い方: lunar FROM [TO]");
  Date from = InRange(args[0]);
  Date to = args.size() == 2 ? InRange(args[1]) : from;
  if (Before(to, from)) throw UsageError("終わりの日付が始めの日付より前です: " + args[1]);
  calendar::LunarCalendar lunar;
  std::ostream& out = *context.out;
  for (Date d = from;;) {
    calendar::LunarDateRecord r = lunar.LunarDate(d.year, d.month, d.day);
    out << FormatDate(d.year, d.month, d.day) << '\t' << r.year << '\t' << r.month << '\t' << r.day
        << '\t' << r.leap << '\t' << cp932::ToUtf8(r.rokuyou_name) << '\t'
        << cp932::ToUtf8(lunar.SolarTerm(d.year, d.month, d.day)) << '\n';
    if (!Before(d, to)) break;
    if (++d.day > calendar::MonthLength(d.year, d.month)) {
      d.day = 1;
      if (++d.month > 12) {
        d.month = 1;
        ++d.year;
      }
    }
  }
  return 0;
}

CommandRegistration lunar_registration("lunar", "lunar YYYY-MM-DD [YYYY-MM-DD]", RunLunar);

}  // namespace
}  // namespace cli
