// CalendarExModel: everything the month calendar control knows apart from painting it: the
// displayed year and month with the selected day, the 7 x 7 cells (weekday header plus six
// weeks), the holiday and special-day lists, the day types and colours of every cell, the
// type-of-day text, and the date moves with their change events. The widget draws from it.
// List texts and the type-of-day text are code page 932.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace calendar {

class CalendarExModel {
 public:
  // Indexes of the six colours.
  enum ColourIndex {
    kWeekdayColour,
    kSundayColour,
    kSaturdayColour,
    kHolidayColour,
    kSpecialDayColour,
    kNeighborDayColour,
  };
  // Day type flags.
  static constexpr unsigned kSundayFlag = 1;
  static constexpr unsigned kSaturdayFlag = 2;
  static constexpr unsigned kHolidayFlag = 4;      // listed in TypeOfDayList
  static constexpr unsigned kSpecialDayFlag = 8;   // listed in SpecialDayList
  static constexpr unsigned kSubstituteFlag = 16;  // Monday after a listed day (AutoSubstitute)
  static constexpr unsigned kEquinoxFlag = 32;     // equinox by formula, with AutoEquinox

  static constexpr int kColumns = 7;
  static constexpr int kRows = 7;

  CalendarExModel();  // today's date, by the system clock
  CalendarExModel(int year, int month, int day);

  int Year() const { return year_; }
  int Month() const { return month_; }
  int Day() const { return day_; }
  // Each setter raises OnChange once on a real change. A new year or month keeps the day,
  // cut to the month's last day; a day of 0 or beyond the month's end is ignored.
  void SetYear(int year);
  void SetMonth(int month);  // a month outside 1-12 is ignored
  void SetDay(int day);
  int DayOfWeek() const;  // of the selected date, 1 = Sunday ... 7 = Saturday

  const std::vector<std::string>& TypeOfDayList() const { return type_of_day_list_; }
  const std::vector<std::string>& SpecialDayList() const { return yearly_day_list_; }
  // Both copy the texts ("month,day,name"), reselect the current day and raise OnChange.
  void SetTypeOfDayList(std::vector<std::string> list);
  void SetSpecialDayList(std::vector<std::string> list);

  // The names of the selected day's types, comma text: special days, listed holidays, the
  // equinox by formula, then "振替休日".
  std::string TypeOfDayText() const;

  std::uint32_t Colour(ColourIndex index) const { return colours_[index]; }
  void SetColour(ColourIndex index, std::uint32_t colour);
  bool AutoEquinox() const { return auto_equinox_; }
  void SetAutoEquinox(bool on);
  // Off when the holiday list already carries every day off: the control then adds no
  // substitute day of its own.
  bool AutoSubstitute() const { return auto_substitute_; }
  void SetAutoSubstitute(bool on);
  bool ShowNeighbor() const { return show_neighbor_; }
  void SetShowNeighbor(bool on);
  int GridLineWidth() const { return grid_line_width_; }
  void SetGridLineWidth(int width);

  // Raised after every change of the date or of the lists.
  std::function<void()> OnChange;
  // Raised whenever the control must be painted again.
  std::function<void()> OnRedraw;
  // Raises OnChange when it is assigned.
  void Change();

  void GoToDate(int year, int month, int day);
  void GoToday();
  void GoNextDay();
  void GoPrevDay();
  void GoNextMonth();  // from December through GoNextYear: OnChange twice
  void GoPrevMonth();
  void GoNextYear();
  void GoPrevYear();

  // The weekday (1 = Sunday) of the 1st of the displayed month.
  int FirstWeekday() const { return first_weekday_; }
  // The day a cell shows: 0 in the header row, 1-31 for the displayed month, 100 + day for the
  // previous month, 200 + day for the next.
  int DayAt(int column, int row) const;
  unsigned DayFlags(int year, int month, int day) const;
  // Text colour of a cell (the background when it is the selected cell).
  std::uint32_t CellColour(int column, int row) const;
  // A day cell's number; blank for a neighbour day while ShowNeighbor is off. The header row
  // gives "": its abbreviated weekday names come from the locale, which the widget owns.
  std::string CellText(int column, int row) const;
  // Days of the displayed month only; the days that October 1582 skipped are never selectable,
  // blank and in the weekday colour.
  bool IsSelectable(int column, int row) const;
  int SelectedColumn() const { return selected_column_; }
  int SelectedRow() const { return selected_row_; }
  // A click on a cell, or an arrow-key move to it: a day of the displayed month becomes the
  // selection and the day, then Change.
  void Click(int column, int row);
  // The grid's own arrow-key move: one cell across (columns) or down (rows), when that cell is
  // a day of the displayed month, ending with the click handling. False when it did not move.
  bool MoveSelection(int columns, int rows);

  // Row height and column width that make seven rows and columns fill the client area, and
  // how much the control must shrink to fit them exactly.
  struct CellLayout {
    int row_height, column_width, shrink_width, shrink_height;
  };
  static CellLayout Layout(int client_width, int client_height, int grid_line_width);

 private:
  void Redraw();
  void MonthChanged();  // weekday of the 1st, day cut to the month, selection, Change
  void SelectDay();
  bool Listed(const std::vector<std::string>& list, int month, int day) const;

  int year_, month_, day_;
  int first_weekday_ = 1;
  int selected_column_ = 0, selected_row_ = 1;
  std::vector<std::string> type_of_day_list_;
  std::vector<std::string> yearly_day_list_;
  std::array<std::uint32_t, 6> colours_ = {0, 128, 8388608, 128, 255, 8421504};
  bool auto_equinox_ = true;
  bool auto_substitute_ = true;
  bool show_neighbor_ = true;
  int grid_line_width_ = 1;
};

}  // namespace calendar
