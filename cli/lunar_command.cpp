// mirune-cli lunar: the lunisolar date, rokuyou and solar term of every day of a range, one
// tab-separated line per day, as the month grid shows them: by the accurate method (1901-2099)
// by default, or by the short series of earlier versions (1976-2075) with --method series.
#include <ostream>

#include "calendar/calendar_math.h"
#include "calendar/lunar_almanac.h"
#include "cli/cli_context.h"
#include "platform/cp932.h"

namespace cli {
namespace {

Date InRange(const std::string& text, const calendar::LunarAlmanac& almanac) {
  Date date = ParseDate(text);
  if (!almanac.InRange(date.year)) {
    throw UsageError("旧暦は " + std::to_string(almanac.FirstYear()) + " 年から " +
                     std::to_string(almanac.LastYear()) + " 年までです: " + text);
  }
  return date;
}

bool Before(const Date& a, const Date& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}

int RunLunar(CliContext& context, const Args& given) {
  Args args;
  calendar::LunarAlmanac almanac(calendar::LunarMethod::kAccurate);
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] != "--method") {
      args.push_back(given[i]);
      continue;
    }
    if (i + 1 >= given.size() || (given[i + 1] != "accurate" && given[i + 1] != "series")) {
      throw UsageError("--method には accurate か series を指定してください");
    }
    almanac.Choose(given[++i] == "series" ? calendar::LunarMethod::kSeries
                                          : calendar::LunarMethod::kAccurate);
  }
  if (args.empty() || args.size() > 2) {
    throw UsageError("使い方: lunar FROM [TO] [--method accurate|series]");
  }
  Date from = InRange(args[0], almanac);
  Date to = args.size() == 2 ? InRange(args[1], almanac) : from;
  if (Before(to, from)) throw UsageError("終わりの日付が始めの日付より前です: " + args[1]);
  std::ostream& out = *context.out;
  for (Date d = from;;) {
    calendar::AlmanacDay day = almanac.Day(d.year, d.month, d.day);
    const calendar::LunarDateRecord& r = day.lunar;
    out << FormatDate(d.year, d.month, d.day) << '\t' << r.year << '\t' << r.month << '\t' << r.day
        << '\t' << r.leap << '\t' << cp932::ToUtf8(r.rokuyou_name) << '\t'
        << cp932::ToUtf8(day.solar_term_name) << '\n';
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

CommandRegistration lunar_registration("lunar",
                                       "lunar YYYY-MM-DD [YYYY-MM-DD] [--method accurate|series]",
                                       RunLunar);

}  // namespace
}  // namespace cli
