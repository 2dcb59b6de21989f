#include "ical/calendar_feed.h"

#include <vector>

#include "calendar/calendar_math.h"
#include "calendar/holiday_law.h"
#include "calendar/lunar_almanac.h"
#include "ical/ics_writer.h"
#include "platform/cp932.h"

namespace ical {
namespace {

std::string Uid(const char* kind, const DayDate& date) {
  return std::string(kind) + "-" + DateText(date) + "@mirune";
}

}  // namespace

int FeedFirstYear() {
  return calendar::LunarAlmanac(calendar::LunarMethod::kAccurate).FirstYear();
}
int FeedLastYear() {
  return calendar::LunarAlmanac(calendar::LunarMethod::kAccurate).LastYear();
}

std::string CalendarFeed(const FeedChoice& choice, int first_year, int last_year,
                         std::time_t stamp) {
  std::vector<std::string> names;
  if (choice.holidays) names.push_back("日本の祝日");
  if (choice.rokuyou) names.push_back("六曜");
  if (choice.solar_terms) names.push_back("二十四節気");
  std::string name;
  for (const std::string& part : names) name += (name.empty() ? "" : "・") + part;
  IcsWriter writer(name, stamp);
  calendar::LunarAlmanac almanac(calendar::LunarMethod::kAccurate);
  for (int year = first_year; year <= last_year; ++year) {
    std::vector<calendar::LawHoliday> holidays;
    if (choice.holidays) holidays = calendar::LawHolidaysOf(year);
    size_t next_holiday = 0;
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= calendar::MonthLength(year, month); ++day) {
        DayDate date{year, month, day};
        while (next_holiday < holidays.size() && holidays[next_holiday].month == month &&
               holidays[next_holiday].day == day) {
          writer.AddAllDay(date, cp932::ToUtf8(holidays[next_holiday++].name), Uid("holiday", date),
                           "祝日", true);
        }
        if (!choice.rokuyou && !choice.solar_terms) continue;
        calendar::AlmanacDay almanac_day = almanac.Day(year, month, day);
        if (choice.rokuyou) {
          writer.AddAllDay(date, cp932::ToUtf8(almanac_day.lunar.rokuyou_name),
                           Uid("rokuyou", date), "六曜", true);
        }
        if (choice.solar_terms && almanac_day.solar_term >= 0) {
          writer.AddAllDay(date, cp932::ToUtf8(almanac_day.solar_term_name), Uid("sekki", date),
                           "二十四節気", true);
        }
      }
    }
  }
  return writer.Text();
}

}  // namespace ical
