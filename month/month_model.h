// The month on display, free of Qt: which day each row of the two grids stands for, the date
// text with its colour, rokuyou and holiday name, today's cell, and the day texts with their
// colour lines. The grids paint what it says; mirune-cli prints it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "calendar/holiday_rules.h"
#include "calendar/lunar_almanac.h"
#include "daydata/light_strings.h"
#include "month/main_settings.h"

namespace month {

// What is shown: the shown date and the display mode.
struct MonthView {
  int year = 2000, month = 1, day = 1;
  bool half_month = false;
  bool first_half = false;   // previous month's second half and this month's first
  bool second_half = false;  // this month's second half and the next month's first
};

struct Today {
  int year = 2000, month = 1;
  int cursor_day = 1;  // today's day of the month as the main window keeps it
};

struct DateCell {
  bool has_day = false;  // rows past the month's end show nothing
  int year = 0, month = 0, day = 0;
  bool today = false;
  std::string date_text;     // "%2d " + weekday kanji (code page 932)
  std::string rokuyou_text;  // " (" + rokuyou + ")" + solar term, empty when not shown
  ColourValue rokuyou_colour = 0;
  std::string holiday_name;  // shown below the date, empty when none
  ColourValue date_colour = 0;
  ColourValue holiday_colour = 0;
};

// Which grid shows which month, and which summary list a row reads.
struct GridMonth {
  int year = 0, month = 0;
  int first_day = 1;  // 1 or 17
  int ListOf(int row) const { return row + first_day; }
};

struct MonthLayout {
  GridMonth left, right;
};

MonthLayout LayoutOf(const MonthView& view);
int DaysInMonth(int year, int month);

// The title over the grids (code page 932). Half-month display with neither or both halves set
// keeps `previous`.
std::string MonthTitle(const MonthView& view, const std::string& previous);
// The name a PDF of the shown month is offered under (UTF-8): "予定表_2026-12.pdf", or for
// half-month display both halves, "予定表_2026-11後半_2026-12前半.pdf", so that each month's
// file has a name of its own.
std::string DefaultPdfName(const MonthView& view);

// The date cells of both grids, in drawing order (left grid first). Drawing updates the shared
// holiday state as the grid's painting does.
struct DateColumn {
  std::array<DateCell, 16> left, right;
};
DateColumn BuildDateColumn(const MonthView& view, const Today& today, const MainSettings& settings,
                           calendar::HolidayRules& holidays, calendar::LunarAlmanac& lunar);

// Loads the 32 day-summary lists (index 1..32) of the view through daydata::DayStore::LoadView,
// which decides between the year folder and the data folder. Returns the year text of the
// month loaded last: the shown year, except in a first-half view of January, where it is the
// previous year (the archive's year folder follows it).
std::string LoadDaySummaries(const std::filesystem::path& data_dir, const MonthView& view,
                             std::array<daydata::TLightStrings, 33>& lists);

// How a summary list is shown: the text colour from a grid colour line, and the other lines.
struct ShownText {
  ColourValue colour = 0;
  std::string text;  // the shown lines, each followed by CR LF
};
ShownText ShownTextOf(const daydata::TLightStrings& list);

// The front of a shown text that any cell could show, on any screen or page: at most
// kCellLines lines and kCellBytes bytes, cut after a line end or else between characters. A
// day of megabytes is laid out at every paint otherwise.
inline constexpr int kCellLines = 100;
inline constexpr size_t kCellBytes = 32768;
std::string_view CellPart(std::string_view text);

}  // namespace month
