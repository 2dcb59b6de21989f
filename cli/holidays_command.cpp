// mirune-cli holidays: the days of a year (or one month) that the month grid draws as national
// holidays, with the name it shows beside them. Each month is drawn as the grid draws it right
// after the program starts, through the same holiday rules and date colour rule: the holiday
// law by default, or the program's fixed table with --rules table.
#include <memory>
#include <ostream>

#include "calendar/calendar_math.h"
#include "calendar/date_colour.h"
#include "calendar/holiday_tables.h"
#include "calendar/law_holiday_rules.h"
#include "calendar/table_holiday_rules.h"
#include "cli/cli_context.h"
#include "platform/cp932.h"
#include "platform/integer_text.h"

namespace cli {
namespace {

constexpr const char* kUsage = "使い方: holidays YEAR [MONTH] [--rules law|table]";

int Number(const std::string& text, int low, int high, const char* what) {
  std::optional<std::int32_t> value = platform::ParseInteger(text);
  bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
  if (!value || !digits || *value < low || *value > high) {
    throw UsageError(std::string(what) + "は " + std::to_string(low) + " から " +
                     std::to_string(high) + " で指定してください: " + text);
  }
  return *value;
}

void PrintMonth(std::ostream& out, bool table, int year, int month) {
  // A fresh start: nothing drawn before this month.
  std::unique_ptr<calendar::HolidayRules> rules;
  if (table) {
    rules = std::make_unique<calendar::TableHolidayRules>();
  } else {
    rules = std::make_unique<calendar::LawHolidayRules>();
  }
  // Holidays count as rest days ("Syukukyucolor"); no weekly rest day is set.
  calendar::RestDays rest_days;
  rest_days.holidays_are_rest = true;
  for (int day = 1; day <= calendar::MonthLength(year, month); ++day) {
    calendar::DayHoliday holiday = rules->DrawDay(year, month, day);
    int weekday = calendar::WeekdayOf(year, month, day);
    if (calendar::DateTextColour(holiday, weekday, rest_days) != calendar::kDateRed) continue;
    out << FormatDate(year, month, day) << '\t' << cp932::ToUtf8(holiday.name) << '\n';
  }
}

int RunHolidays(CliContext& context, const Args& given) {
  Args args;
  bool table = false;
  for (size_t i = 0; i < given.size(); ++i) {
    if (given[i] != "--rules") {
      args.push_back(given[i]);
      continue;
    }
    if (i + 1 >= given.size() || (given[i + 1] != "law" && given[i + 1] != "table")) {
      throw UsageError("--rules には law か table を指定してください");
    }
    table = given[++i] == "table";
  }
  if (args.empty() || args.size() > 2) throw UsageError(kUsage);
  int year = Number(args[0], 1900, 2099, "年");
  if (args.size() == 2) {
    PrintMonth(*context.out, table, year, Number(args[1], 1, 12, "月"));
  } else {
    for (int month = 1; month <= 12; ++month) PrintMonth(*context.out, table, year, month);
  }
  return 0;
}

CommandRegistration holidays_registration("holidays", "holidays YEAR [MONTH] [--rules law|table]",
                                          RunHolidays);

}  // namespace
}  // namespace cli
