// TKvrwin's navigation: the date operations, the commands of the tool bar and menus, the keys
// of both grids and the mouse rules, in full-month and half-month display. The two grids act
// as one column of days; the calendar window follows the cursor day.
#include <QKeyEvent>

#include <algorithm>

#include "app/kvrwin.h"
#include "app/model_calendar_port.h"
#include "calendar/holiday_writer.h"
#include "platform/message_box.h"
#include "platform/string_grid.h"

namespace app {

void TKvrwin::SetCalendar(CalendarPort* calendar) {
  calendar_ = calendar ? calendar : own_calendar_.get();
}

void TKvrwin::SetDate(const QDate& date) {
  ShownDate = date;
  BuildMonth();
}

void TKvrwin::SetDatePart(int part, int value) {
  if (value <= 0) return;
  int y = ShownDate.year(), m = ShownDate.month(), d = ShownDate.day();
  if (part == 1) y = value;
  if (part == 2) m = std::min(value, 12);
  if (part == 3) d = value;
  // The day is kept inside its month, so that no step ever makes an impossible date.
  SetDate(QDate(y, m, std::min(d, DaysInMonth(y, m))));
}

int TKvrwin::DatePart(int part) const {
  switch (part) {
    case 1:
      return ShownDate.year();
    case 2:
      return ShownDate.month();
    case 3:
      return ShownDate.day();
    default:
      return -1;
  }
}

bool TKvrwin::IsLeapYear(int year) {
  return year % 4 == 0 && !(year % 100 == 0 && year % 400 != 0);
}

void TKvrwin::StepMonth(int n) {
  if (n == 0) return;
  const int y = ShownDate.year(), m = ShownDate.month(), d = ShownDate.day();
  QDate reached = n < 0 ? QDate(y, m, 1).addDays(-1) : QDate(y, m, DaysInMonth(y, m)).addDays(1);
  SetDate(QDate(reached.year(), reached.month(),
                std::min(d, DaysInMonth(reached.year(), reached.month()))));
}

void TKvrwin::NextYear() {
  const int y = ShownDate.year();
  if (IsLeapYear(y) && ShownDate.month() == 2 && ShownDate.day() == 29) SetDatePart(3, 28);
  SetDatePart(1, y + 1);
}

void TKvrwin::PrevYear() {
  const int y = ShownDate.year();
  if (IsLeapYear(y) && ShownDate.month() == 2 && ShownDate.day() == 29) SetDatePart(3, 28);
  SetDatePart(1, y - 1);
}

int TKvrwin::LeftRowDay(int row) const {
  return HalfMonth == 1 ? row + 17 : row + 1;
}
int TKvrwin::RightRowDay(int row) const {
  return HalfMonth == 1 ? row + 1 : row + 17;
}

int TKvrwin::RowDay(int grid, int row) const {
  const GridMonth& month = grid == 1 ? Shown.left : Shown.right;
  const int day = grid == 1 ? LeftRowDay(row) : RightRowDay(row);
  return day <= 0 || day > DaysInMonth(month.year, month.month) ? -1 : day;
}

void TKvrwin::LeaveHalfMonth() {
  HalfMonth = 0;
  FirstHalfShown = SecondHalfShown = false;
}

void TKvrwin::ThisMonth() {
  LeaveHalfMonth();
  const QDate today = CurrentToday();
  ShownDate = today;
  building_ = true;
  const int t = CursorDay;
  const int n = DaysInMonth(ShownDate.year(), ShownDate.month());
  if (t > 16 && t <= n) {
    SetDate(today);
    SelectGridRow(2, t - 17);
    ShownYear = QString::number(today.year());
  } else if (t > 0 && t < 17) {
    SetDate(today);
    SelectGridRow(1, t - 1);
    ShownYear = QString::number(today.year());
  }
  BuildMonth();
  calendar_->GoToday();
  calendar_->ShowOwnDate();
}

void TKvrwin::PrevHalfMonth() {
  if (HalfMonth != 1) {
    HalfMonth = 1;
    FirstHalfShown = true;
    SecondHalfShown = false;
    BuildMonth();
    return;
  }
  const GridMonth left = Shown.left;
  LeaveHalfMonth();
  StepMonth(-1);
  SetDate(
      QDate(left.year, left.month, std::min(ShownDate.day(), DaysInMonth(left.year, left.month))));
}

void TKvrwin::NextHalfMonth() {
  if (HalfMonth != 1) {
    HalfMonth = 1;
    SecondHalfShown = true;
    FirstHalfShown = false;
    BuildMonth();
    return;
  }
  const GridMonth right = Shown.right;
  LeaveHalfMonth();
  StepMonth(+1);
  SetDate(QDate(right.year, right.month,
                std::min(ShownDate.day(), DaysInMonth(right.year, right.month))));
}

void TKvrwin::PrevMonthCommand(bool move_calendar) {
  LeaveHalfMonth();
  StepMonth(-1);
  if (move_calendar) {
    calendar_->GoPrevMonth();
    calendar_->ShowOwnDate();
  }
}

void TKvrwin::NextMonthCommand(bool move_calendar) {
  LeaveHalfMonth();
  StepMonth(+1);
  if (move_calendar) {
    calendar_->GoNextMonth();
    calendar_->ShowOwnDate();
  }
}

void TKvrwin::PrevYearCommand() {
  LeaveHalfMonth();
  PrevYear();
  calendar_->GoPrevYear();
  calendar_->ShowOwnDate();
}

void TKvrwin::NextYearCommand() {
  LeaveHalfMonth();
  NextYear();
  calendar_->GoNextYear();
  calendar_->ShowOwnDate();
}

void TKvrwin::CalendarToggle(bool down) {
  calendar_->SetMinimised(down);
  try {
    IniGT1->WriteInteger(QStringLiteral("カレンダー表示"), QStringLiteral("CalendarOnOff"),
                         down ? 1 : 0);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  Settings.calendar_on_off = down ? 1 : 0;
}

void TKvrwin::SelectGridRow(int grid, int row) {
  Grid(grid)->setFocus();
  Grid(grid)->SetRow(row);
  SyncGridFocus();
}

void TKvrwin::RefreshShownDay(int grid) {
  // The texts the entry dialog reads, from the shown date and the cursor row (no refusals).
  const GridMonth& month = grid == 1 ? Shown.left : Shown.right;
  const int row = Grid(grid)->Row();
  ShownYear = QString::number(month.year);
  ShownMonth = QString::number(month.month);
  ShownDay = QString::number(grid == 1 ? LeftRowDay(row) : RightRowDay(row));
}

bool TKvrwin::OpenDayEntry(int grid, int row) {
  const GridMonth& month = grid == 1 ? Shown.left : Shown.right;
  const int day = grid == 1 ? LeftRowDay(row) : RightRowDay(row);
  // Rows of days 1-16 always stand for a day; rows of 17 on are refused past the month's end.
  if (day > 16 && day > DaysInMonth(month.year, month.month)) return false;
  ShownYear = QString::number(month.year);
  ShownMonth = QString::number(month.month);
  ShownDay = QString::number(day);
  if (day_entry_) day_entry_->OpenDayEntry();
  return true;
}

void TKvrwin::SpeedButton25Click() {
  if (HalfMonth == 1) {
    platform::ShowMessage(this, QStringLiteral("半月表示時は、祭日表示入力はできません！"),
                          QStringLiteral("注意"), platform::MessageIcon::kExclamation);
    return;
  }
  try {
    calendar::WriteHolidays(Holidays, ShownDate.year(), ShownDate.month(), DataDir);
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
  }
  // Also after a failure: the names written before it are shown, and the current folder is
  // the shown year's again.
  BuildMonth();
}

void TKvrwin::GridDblClick(int grid) {
  if (Settings.single_double) return;
  if (Grid(grid)->Col() == 1) OpenDayEntry(grid, Grid(grid)->Row());
}

void TKvrwin::GridMouseUp(int grid, Qt::MouseButton button) {
  if (!Settings.single_double || button != Qt::LeftButton) return;
  if (Grid(grid)->Col() == 1) OpenDayEntry(grid, Grid(grid)->Row());
}

bool TKvrwin::CommonGridKey(int grid, int key) {
  // The keys that both grids handle alike, in both display modes.
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      OpenDayEntry(grid, Grid(grid)->Row());
      return true;
    case Qt::Key_Escape:
      close();
      return true;
    case Qt::Key_PageDown:
      if (grid == 2) StringGrid2->SetRow(10);
      StepMonth(+1);
      calendar_->GoNextMonth();
      return true;
    case Qt::Key_PageUp:
      StepMonth(-1);
      calendar_->GoPrevMonth();
      return true;
    default:
      return false;
  }
}

void TKvrwin::StringGrid1KeyDown(int& key, Qt::KeyboardModifiers) {
  RefreshShownDay(1);
  const int row = StringGrid1->Row();
  const bool half = HalfMonth == 1;
  const GridMonth left = Shown.left;
  const int left_length = DaysInMonth(left.year, left.month);
  CalendarPort& cal = *calendar_;
  if (CommonGridKey(1, key)) return;
  switch (key) {
    case Qt::Key_Right:
      if (!half) {
        SelectGridRow(2, std::min(row, left_length - 17));
        cal.SetDay(StringGrid2->Row() + 17);
      } else {
        SelectGridRow(2, row);
        cal.GoNextMonth();
        cal.SetDay(row + 1);
      }
      break;
    case Qt::Key_Left:
      // Back by half a month; the cursor stays on the same day in the right grid.
      PrevHalfMonth();
      SelectGridRow(2, std::min(row, left_length - 17));
      break;
    case Qt::Key_Up:
      if (!half) {
        if (cal.Shows(left.year, left.month)) cal.SetDay(row);
        if (row == 0) {
          SelectGridRow(2, StringGrid2->Row());
          StepMonth(-1);
          const int length = DaysInMonth(ShownDate.year(), ShownDate.month());
          StringGrid2->SetRow(length - 17);
          cal.GoPrevMonth();
          cal.SetDay(length);
        }
      } else {
        if (cal.Shows(left.year, left.month)) cal.SetDay(row + 16);
        if (row == 0) {
          StepMonth(-1);
          SelectGridRow(2, 15);
        }
      }
      break;
    case Qt::Key_Down:
      if (!half) {
        if (cal.Shows(left.year, left.month)) cal.SetDay(row + 2);
        if (row == 15) {
          SelectGridRow(2, 0);
          cal.SetDay(17);
        }
      } else {
        const bool shows_left = cal.Shows(left.year, left.month);
        if (shows_left) cal.SetDay(row + 18);
        if (row + 17 == left_length) {
          SelectGridRow(2, 0);
          if (shows_left) {
            cal.GoNextMonth();
            cal.SetDay(1);
          }
        }
      }
      break;
    default:
      break;
  }
}

void TKvrwin::StringGrid2KeyDown(int& key, Qt::KeyboardModifiers) {
  RefreshShownDay(2);
  const int row = StringGrid2->Row();
  const bool half = HalfMonth == 1;
  const GridMonth right = Shown.right;
  const GridMonth left = Shown.left;
  const int left_length = DaysInMonth(left.year, left.month);
  const int right_length = DaysInMonth(right.year, right.month);
  CalendarPort& cal = *calendar_;
  if (CommonGridKey(2, key)) return;
  switch (key) {
    case Qt::Key_Left:
      if (!half) {
        SelectGridRow(1, row);
        cal.SetDay(row + 1);
      } else {
        SelectGridRow(1, row > left_length - 17 ? left_length - 17 : row);
        cal.GoPrevMonth();
        cal.SetDay(StringGrid1->Row() + 17);
      }
      break;
    case Qt::Key_Right:
      NextHalfMonth();
      SelectGridRow(1, row);
      break;
    case Qt::Key_Up:
      if (!half) {
        if (cal.Shows(right.year, right.month)) cal.SetDay(row + 16);
        if (row == 0) {
          SelectGridRow(1, 15);
          cal.SetDay(16);
        }
      } else {
        const bool shows_right = cal.Shows(right.year, right.month);
        if (shows_right) cal.SetDay(row);
        if (row == 0) {
          SelectGridRow(1, left_length - 17);
          if (shows_right) {
            cal.GoPrevMonth();
            cal.SetDay(left_length);
          }
        }
      }
      break;
    case Qt::Key_Down:
      if (!half) {
        if (cal.Shows(right.year, right.month)) cal.SetDay(row + 18);
        if (row + 17 == right_length) {
          StepMonth(+1);
          SelectGridRow(1, 0);
          cal.GoNextMonth();
          cal.SetDay(1);
        }
      } else {
        const bool shows_right = cal.Shows(right.year, right.month);
        if (shows_right) cal.SetDay(row + 2);
        if (row == 15) {
          StringGrid2->SetRow(0);
          SelectGridRow(1, 0);
          StepMonth(+1);
          StringGrid1->SetRow(0);
          if (shows_right) cal.SetDay(17);
        }
      }
      break;
    default:
      break;
  }
}

}  // namespace app
