#include "month/month_model.h"

#include <cstdio>
#include <map>
#include <span>

#include "calendar/calendar_math.h"
#include "calendar/date_colour.h"
#include "calendar/holiday_tables.h"
#include "daydata/day_store.h"
#include "platform/cp932.h"

namespace fs = std::filesystem;

namespace month {
namespace {

const std::string& Sjis(const char* utf8) {
  // Only a handful of fixed texts pass through here; converting each once is enough.
  static std::map<const char*, std::string> cache;
  auto it = cache.find(utf8);
  if (it == cache.end()) it = cache.emplace(utf8, cp932::FromUtf8(utf8)).first;
  return it->second;
}

const std::string& WeekdayName(int weekday) {
  static const char* const kNames[] = {"日", "月", "火", "水", "木", "金", "土"};
  static const std::string kNone;
  return weekday >= 0 && weekday < 7 ? Sjis(kNames[weekday]) : kNone;
}

void PreviousMonth(int& y, int& m) {
  if (--m == 0) m = 12, --y;
}

void NextMonth(int& y, int& m) {
  if (++m == 13) m = 1, ++y;
}

std::string YearMonthHalf(int y, int m, const char* half) {
  return std::to_string(y) + Sjis("年") + std::to_string(m) + Sjis(half);
}

}  // namespace

int DaysInMonth(int year, int month) {
  return calendar::GregorianMonthLength(year, month);
}

MonthLayout LayoutOf(const MonthView& v) {
  MonthLayout layout;
  if (!v.half_month || (!v.first_half && !v.second_half)) {
    layout.left = {v.year, v.month, 1};
    layout.right = {v.year, v.month, 17};
  } else if (v.first_half) {
    int y = v.year, m = v.month;
    PreviousMonth(y, m);
    layout.left = {y, m, 17};
    layout.right = {v.year, v.month, 1};
  } else {
    int y = v.year, m = v.month;
    NextMonth(y, m);
    layout.left = {v.year, v.month, 17};
    layout.right = {y, m, 1};
  }
  return layout;
}

std::string MonthTitle(const MonthView& v, const std::string& previous) {
  if (!v.half_month) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%d%s%2d%s", v.year, Sjis("年").c_str(), v.month,
                  Sjis("月のスケジュ－ル").c_str());
    return buffer;
  }
  const std::string gap(12, ' ');
  int y = v.year, m = v.month;
  if (v.second_half && !v.first_half) {
    NextMonth(y, m);
    return YearMonthHalf(v.year, v.month, "月後半") + gap + YearMonthHalf(y, m, "月前半");
  }
  if (v.first_half && !v.second_half) {
    PreviousMonth(y, m);
    return YearMonthHalf(y, m, "月後半") + gap + YearMonthHalf(v.year, v.month, "月前半");
  }
  return previous;
}

std::string DefaultPdfName(const MonthView& view) {
  const auto year_month = [](const GridMonth& g) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d", g.year, g.month);
    return std::string(buffer);
  };
  const MonthLayout layout = LayoutOf(view);
  if (layout.left.first_day == 1) return "予定表_" + year_month(layout.left) + ".pdf";
  return "予定表_" + year_month(layout.left) + "後半_" + year_month(layout.right) + "前半.pdf";
}

DateColumn BuildDateColumn(const MonthView& view, const Today& today, const MainSettings& s,
                           calendar::HolidayRules& holidays, calendar::LunarAlmanac& lunar) {
  MonthLayout layout = LayoutOf(view);
  DateColumn column;
  auto fill = [&](const GridMonth& grid, std::array<DateCell, 16>& cells) {
    const int length = DaysInMonth(grid.year, grid.month);
    for (int row = 0; row < 16; ++row) {
      DateCell& cell = cells[static_cast<size_t>(row)];
      const int d = grid.ListOf(row);
      if (d > length) continue;
      cell.has_day = true;
      cell.year = grid.year, cell.month = grid.month, cell.day = d;
      cell.today = grid.year == today.year && grid.month == today.month && d == today.cursor_day;
      const int weekday = calendar::WeekdayOf(grid.year, grid.month, d);
      char number[8];
      std::snprintf(number, sizeof number, "%2d ", d);
      cell.date_text = number + WeekdayName(weekday);
      if (s.rokuyou == 1 && lunar.InRange(grid.year)) {
        calendar::AlmanacDay almanac = lunar.Day(grid.year, grid.month, d);
        cell.rokuyou_text = Sjis(" (") + std::string(almanac.lunar.rokuyou_name) + ")" +
                            std::string(almanac.solar_term_name);
        cell.rokuyou_colour = almanac.lunar.rokuyou == 4 ? 0x008000 : 0x000000;
      }
      calendar::DayHoliday holiday = holidays.DrawDay(grid.year, grid.month, d);
      cell.date_colour = calendar::DateTextColour(holiday, weekday, s.rest_days);
      if (s.syukucolor == 1 && !holiday.name.empty()) {
        cell.holiday_name = std::string(holiday.name);
        // Drawn again over the date: red when holidays are rest days, else in the date's colour.
        cell.holiday_colour = s.rest_days.holidays_are_rest ? calendar::kDateRed : cell.date_colour;
      }
    }
  };
  fill(layout.left, column.left);
  fill(layout.right, column.right);
  return column;
}

std::string LoadDaySummaries(const fs::path& data_dir, const MonthView& view,
                             std::array<daydata::TLightStrings, 33>& lists) {
  using Part = daydata::DayStore::ViewPart;
  const int y = view.year, m = view.month;
  std::array<Part, 2> parts;
  size_t count = 0;
  if (!view.half_month || (!view.first_half && !view.second_half)) {
    parts[count++] = {y, m, 1, 32};
  } else if (view.second_half) {
    int ny = y, nm = m;
    NextMonth(ny, nm);
    // The shown month last, so that its year is the one returned.
    parts[count++] = {ny, nm, 1, 16};
    parts[count++] = {y, m, 17, 32};
  } else {
    int py = y, pm = m;
    PreviousMonth(py, pm);
    parts[count++] = {y, m, 1, 16};
    parts[count++] = {py, pm, 17, 32};
  }
  return daydata::DayStore(data_dir, {}).LoadView(std::span(parts.data(), count), lists);
}

ShownText ShownTextOf(const daydata::TLightStrings& list) {
  ShownText shown;
  int first = 0;
  if (list.Count() > 0 && daydata::IsGridColourLine(list[0])) {
    shown.colour = daydata::ColourValueOf(list[0][0] - '0');
    first = 1;
  }
  for (int i = first; i < list.Count(); ++i) {
    shown.text += list[i];
    shown.text += "\r\n";
  }
  return shown;
}

std::string_view CellPart(std::string_view text) {
  size_t end = 0;
  int lines = 0;
  while (end < text.size() && end < kCellBytes) {
    const auto b = static_cast<unsigned char>(text[end]);
    if (b == '\n' && ++lines == kCellLines) return text.substr(0, end + 1);
    end += cp932::IsLeadByte(b) && end + 1 < text.size() ? 2 : 1;
  }
  // A character that would end past the limit is left out whole.
  return text.substr(0, end > kCellBytes ? end - 2 : end);
}

}  // namespace month
