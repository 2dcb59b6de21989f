#include "calendar/calendar_ex_model.h"

#include <ctime>

#include "calendar/calendar_math.h"
#include "calendar/comma_text.h"
#include "platform/cp932.h"
#include "platform/integer_text.h"

namespace calendar {
namespace {

int ItemInteger(const std::vector<std::string>& items, size_t index) {
  if (index >= items.size())
    throw EListIndexError("List index out of bounds (" + std::to_string(index) + ")");
  std::optional<std::int32_t> value = platform::ParseInteger(items[index]);
  if (!value)
    throw EConvertError("'" + cp932::ToUtf8(items[index]) + "' is not a valid integer value");
  return *value;
}

const std::string& ItemName(const std::vector<std::string>& items) {
  if (items.size() < 3) throw EListIndexError("List index out of bounds (2)");
  return items[2];
}

bool Matches(const std::vector<std::string>& items, int month, int day) {
  return ItemInteger(items, 0) == month && ItemInteger(items, 1) == day;
}

// Names the control adds itself, code page 932.
enum FixedName { kVernalName, kAutumnalName, kSubstituteName };
const std::string& NameOf(FixedName name) {
  static const std::string names[] = {cp932::FromUtf8("春分の日"), cp932::FromUtf8("秋分の日"),
                                      cp932::FromUtf8("振替休日")};
  return names[name];
}

// The ten days that October 1582 skipped: shown as empty cells rather than evaluated.
bool InGregorianGap(int year, int month, int day) {
  return year == 1582 && month == 10 && day >= 5 && day <= 14;
}

}  // namespace

CalendarExModel::CalendarExModel() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  year_ = local.tm_year + 1900;
  month_ = local.tm_mon + 1;
  day_ = local.tm_mday;
  first_weekday_ = CalendarWeekday(year_, month_, 1);
  SelectDay();
}

CalendarExModel::CalendarExModel(int year, int month, int day)
    : year_(year), month_(month), day_(day) {
  first_weekday_ = CalendarWeekday(year_, month_, 1);
  if (day_ < 1) day_ = 1;
  if (day_ > MonthLength(year_, month_)) day_ = MonthLength(year_, month_);
  SelectDay();
}

void CalendarExModel::Redraw() {
  if (OnRedraw) OnRedraw();
}

void CalendarExModel::Change() {
  if (OnChange) OnChange();
}

void CalendarExModel::SelectDay() {
  int s = first_weekday_ + day_;
  selected_column_ = (s + 5) % 7;
  selected_row_ = (s - 2) / 7 + 1;
}

void CalendarExModel::MonthChanged() {
  first_weekday_ = CalendarWeekday(year_, month_, 1);
  int last = MonthLength(year_, month_);
  if (day_ > last) day_ = last;
  SelectDay();
  Redraw();
  Change();
}

void CalendarExModel::SetYear(int year) {
  if (year == year_) return;
  year_ = year;
  MonthChanged();
}

void CalendarExModel::SetMonth(int month) {
  // Callers keep the month in range; one outside it is refused rather than read past the
  // month-length table.
  if (month == month_ || month < 1 || month > 12) return;
  month_ = month;
  MonthChanged();
}

void CalendarExModel::SetDay(int day) {
  if (day < 1 || day > MonthLength(year_, month_) || day == day_) return;
  day_ = day;
  SelectDay();
  Redraw();
  Change();
}

int CalendarExModel::DayOfWeek() const {
  return CalendarWeekday(year_, month_, day_);
}

void CalendarExModel::SetTypeOfDayList(std::vector<std::string> list) {
  type_of_day_list_ = std::move(list);
  SelectDay();
  Redraw();
  Change();
}

void CalendarExModel::SetSpecialDayList(std::vector<std::string> list) {
  yearly_day_list_ = std::move(list);
  SelectDay();
  Redraw();
  Change();
}

void CalendarExModel::SetColour(ColourIndex index, std::uint32_t colour) {
  if (colours_[index] == colour) return;
  colours_[index] = colour;
  Redraw();
}

void CalendarExModel::SetAutoEquinox(bool on) {
  if (auto_equinox_ == on) return;
  auto_equinox_ = on;
  Redraw();
}

void CalendarExModel::SetAutoSubstitute(bool on) {
  if (auto_substitute_ == on) return;
  auto_substitute_ = on;
  Redraw();
}

void CalendarExModel::SetShowNeighbor(bool on) {
  if (show_neighbor_ == on) return;
  show_neighbor_ = on;
  Redraw();
}

void CalendarExModel::SetGridLineWidth(int width) {
  if (grid_line_width_ == width) return;
  grid_line_width_ = width;
  Redraw();
}

void CalendarExModel::GoToDate(int year, int month, int day) {
  SetYear(year);
  SetMonth(month);
  SetDay(day);
}

void CalendarExModel::GoToday() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  GoToDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void CalendarExModel::GoNextDay() {
  if (day_ < MonthLength(year_, month_)) {
    SetDay(day_ + 1);
  } else {
    GoNextMonth();
    SetDay(1);
  }
}

void CalendarExModel::GoPrevDay() {
  if (day_ > 1) {
    SetDay(day_ - 1);
  } else {
    GoPrevMonth();
    SetDay(MonthLength(year_, month_));
  }
}

void CalendarExModel::GoNextMonth() {
  if (month_ < 12) {
    SetMonth(month_ + 1);
  } else {
    GoNextYear();
    SetMonth(1);
  }
}

void CalendarExModel::GoPrevMonth() {
  if (month_ > 1) {
    SetMonth(month_ - 1);
  } else {
    GoPrevYear();
    SetMonth(12);
  }
}

void CalendarExModel::GoNextYear() {
  SetYear(year_ + 1);
}
void CalendarExModel::GoPrevYear() {
  SetYear(year_ - 1);
}

int CalendarExModel::DayAt(int column, int row) const {
  if (row == 0) return 0;
  int a = column + 7 * row - first_weekday_ - 5;
  if (a <= 0) {
    int previous = month_ == 1 ? 31 : MonthLength(year_, month_ - 1);
    return a + previous + 100;
  }
  int length = MonthLength(year_, month_);
  if (a > length) return a - length + 200;
  return a;
}

bool CalendarExModel::Listed(const std::vector<std::string>& list, int month, int day) const {
  for (const std::string& text : list) {
    if (Matches(SplitCommaText(text), month, day)) return true;
  }
  return false;
}

unsigned CalendarExModel::DayFlags(int year, int month, int day) const {
  unsigned flags = 0;
  int weekday = CalendarWeekday(year, month, day);
  if (weekday == 1) flags |= kSundayFlag;
  if (weekday == 7) flags |= kSaturdayFlag;
  if (Listed(yearly_day_list_, month, day)) flags |= kSpecialDayFlag;
  if (auto_equinox_) {
    int jd = DayNumber(year, month, day);
    if (jd == VernalEquinoxDay(year) || jd == AutumnalEquinoxDay(year)) flags |= kEquinoxFlag;
  }
  if (Listed(type_of_day_list_, month, day)) flags |= kHolidayFlag;
  if (auto_substitute_ && weekday == 2) {
    int previous_month = month, previous_day = day - 1;
    if (day == 1) {
      previous_month = month == 1 ? 12 : month - 1;
      previous_day = month == 1 ? 31 : MonthLength(year, month - 1);
    }
    if (Listed(type_of_day_list_, previous_month, previous_day)) {
      flags |= kSubstituteFlag;
      // A listed 4 May on a Monday after a listed 3 May counts as the substitute day only.
      if (month == 5 && day == 4) flags &= ~kHolidayFlag;
    }
  }
  return flags;
}

std::uint32_t CalendarExModel::CellColour(int column, int row) const {
  int code = DayAt(column, row);
  if (code == 0) return colours_[kWeekdayColour];
  // A neighbour day is grey whatever its type, so its flags need not be worked out; that also
  // keeps the days that October 1582 skipped from being asked for when they only neighbour.
  if (code > 100) return colours_[kNeighborDayColour];
  if (InGregorianGap(year_, month_, code)) return colours_[kWeekdayColour];
  unsigned flags = DayFlags(year_, month_, code);
  if (flags & (kSpecialDayFlag | kHolidayFlag | kEquinoxFlag | kSubstituteFlag)) {
    return colours_[flags & kSpecialDayFlag ? kSpecialDayColour : kHolidayColour];
  }
  if (flags & kSundayFlag) return colours_[kSundayColour];
  if (flags & kSaturdayFlag) return colours_[kSaturdayColour];
  return colours_[kWeekdayColour];
}

std::string CalendarExModel::CellText(int column, int row) const {
  int code = DayAt(column, row);
  if (code == 0) return {};
  if (code < 100) return InGregorianGap(year_, month_, code) ? std::string() : std::to_string(code);
  return show_neighbor_ ? std::to_string(code % 100) : std::string();
}

bool CalendarExModel::IsSelectable(int column, int row) const {
  int code = DayAt(column, row);
  return code >= 1 && code <= 31 && !InGregorianGap(year_, month_, code);
}

void CalendarExModel::Click(int column, int row) {
  if (column >= 0 && column < kColumns && row >= 0 && row < kRows && IsSelectable(column, row)) {
    selected_column_ = column;
    selected_row_ = row;
  }
  int day = DayAt(selected_column_, selected_row_);
  if (day != 0) SetDay(day);
  Change();
}

bool CalendarExModel::MoveSelection(int columns, int rows) {
  const int column = selected_column_ + columns, row = selected_row_ + rows;
  if (column < 0 || column >= kColumns || row < 1 || row >= kRows || !IsSelectable(column, row))
    return false;
  Click(column, row);
  return true;
}

std::string CalendarExModel::TypeOfDayText() const {
  unsigned flags = DayFlags(year_, month_, day_);
  std::vector<std::string> names;
  auto collect = [&](const std::vector<std::string>& list) {
    for (const std::string& text : list) {
      std::vector<std::string> items = SplitCommaText(text);
      if (Matches(items, month_, day_)) names.push_back(ItemName(items));
    }
  };
  if (flags & kSpecialDayFlag) collect(yearly_day_list_);
  if (flags & kHolidayFlag) collect(type_of_day_list_);
  if (auto_equinox_ && (flags & kEquinoxFlag)) {
    bool vernal = DayNumber(year_, month_, day_) == VernalEquinoxDay(year_);
    names.push_back(NameOf(vernal ? kVernalName : kAutumnalName));
  }
  if (flags & kSubstituteFlag) names.push_back(NameOf(kSubstituteName));
  if (names.empty()) return {};
  return JoinCommaText(names);
}

CalendarExModel::CellLayout CalendarExModel::Layout(int client_width, int client_height,
                                                    int grid_line_width) {
  int g = 7 * grid_line_width;
  return {(client_height - g) / 7, (client_width - g) / 7, (client_width - g) % 7,
          (client_height - g) % 7};
}

}  // namespace calendar
