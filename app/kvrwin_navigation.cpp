// TKvrwin's navigation: the date operations, the commands of the tool bar and menus, the keys
// of both grids and the mouse rules, in full-month and half-month display. The two grids act
// as one column of days; the calendar window follows the cursor day.
#include <QKeyEvent>

#include <algorithm>

#include "app/kvrwin.h"
#include "app/main_window_hosts.h"
#include "daydata/holiday_writer.h"
#include "platform/message_box.h"
#include "platform/string_grid.h"

namespace app {

using month::ApplyGridKey;
using month::GridKey;
using month::GridMonth;
using month::GridRow;
using month::MonthCursor;

void TKvrwin::SetDate(const QDate& date) {
  cursor_.SetDate(date.year(), date.month(), date.day());
  BuildMonth();
}

QDate TKvrwin::ShownDate() const {
  return QDate(cursor_.Year(), cursor_.Month(), cursor_.Day());
}

void TKvrwin::StepMonth(int n) {
  if (n == 0) return;
  cursor_.StepMonth(n);
  BuildMonth();
}

void TKvrwin::NextYear() {
  cursor_.NextYear();
  BuildMonth();
}

void TKvrwin::PrevYear() {
  cursor_.PrevYear();
  BuildMonth();
}

void TKvrwin::LeaveHalfMonth() {
  cursor_.LeaveHalfMonth();
}

void TKvrwin::ShowToday(bool move_calendar) {
  const QDate today = CurrentToday();
  building_ = true;
  cursor_.SetDate(today.year(), today.month(), today.day());
  // Today is always shown in full-month display here: the commands leave half-month display
  // first, and the entry dialog has no today button in it.
  const GridRow at = MonthCursor::FullMonthRowOf(cursor_day_);
  if (at.grid != 0 && cursor_day_ <= month::DaysInMonth(today.year(), today.month())) {
    SetDate(today);
    SelectGridRow(at.grid, at.row);
    shown_year_ = QString::number(today.year());
  }
  if (move_calendar) {
    calendar_->GoToday();
    calendar_->ShowOwnDate();
  }
}

void TKvrwin::ThisMonth() {
  LeaveHalfMonth();
  ShowToday(false);
  BuildMonth();
  calendar_->GoToday();
  calendar_->ShowOwnDate();
}

void TKvrwin::PrevHalfMonth() {
  cursor_.PrevHalfMonth();
  BuildMonth();
}

void TKvrwin::NextHalfMonth() {
  cursor_.NextHalfMonth();
  BuildMonth();
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
  context_.Reported(
      this, [&] { context_.Store().WriteInteger(settings::keys::CalendarOnOff, down ? 1 : 0); });
  settings_.calendar_on_off = down ? 1 : 0;
}

void TKvrwin::SelectGridRow(int grid, int row) {
  Grid(grid)->setFocus();
  Grid(grid)->SetRow(row);
  SyncGridFocus();
}

void TKvrwin::SelectDay(int day) {
  const GridRow at = MonthCursor::FullMonthRowOf(day);
  if (at.grid != 0) SelectGridRow(at.grid, at.row);
}

void TKvrwin::FocusGrid(int grid) {
  Grid(grid)->setFocus();
}

void TKvrwin::RefreshShownDay(int grid) {
  // The texts the entry dialog reads, from the shown date and the cursor row (no refusals).
  const GridMonth& month = grid == 1 ? shown_.left : shown_.right;
  shown_year_ = QString::number(month.year);
  shown_month_ = QString::number(month.month);
  shown_day_ = QString::number(cursor_.DayOfRow(grid, Grid(grid)->Row()));
}

bool TKvrwin::OpenDayEntry(int grid, int row) {
  const GridMonth& shown = grid == 1 ? shown_.left : shown_.right;
  const int day = cursor_.DayOfRow(grid, row);
  // Rows of days 1-16 always stand for a day; rows of 17 on are refused past the month's end.
  if (day > 16 && day > month::DaysInMonth(shown.year, shown.month)) return false;
  shown_year_ = QString::number(shown.year);
  shown_month_ = QString::number(shown.month);
  shown_day_ = QString::number(day);
  if (day_entry_) day_entry_->OpenDayEntry();
  return true;
}

void TKvrwin::SpeedButton25Click() {
  if (cursor_.HalfMonth()) {
    platform::ShowMessage(this, QStringLiteral("半月表示時は、祭日表示入力はできません！"),
                          QStringLiteral("注意"), platform::MessageIcon::kExclamation);
    return;
  }
  try {
    daydata::WriteHolidays(holidays_, cursor_.Year(), cursor_.Month(), context_.DataDir());
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
  }
  // Also after a failure: the names written before it are shown.
  BuildMonth();
}

void TKvrwin::GridDblClick(int grid) {
  if (settings_.single_double) return;
  if (Grid(grid)->Col() == 1) OpenDayEntry(grid, Grid(grid)->Row());
}

void TKvrwin::GridMouseUp(int grid, Qt::MouseButton button) {
  if (!settings_.single_double || button != Qt::LeftButton) return;
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

void TKvrwin::GridKeyDown(int grid, int key) {
  RefreshShownDay(grid);
  if (CommonGridKey(grid, key)) return;
  switch (key) {
    case Qt::Key_Up:
      ApplyGridKey(hosts_->grid_keys, grid, GridKey::kUp);
      break;
    case Qt::Key_Down:
      ApplyGridKey(hosts_->grid_keys, grid, GridKey::kDown);
      break;
    case Qt::Key_Left:
      ApplyGridKey(hosts_->grid_keys, grid, GridKey::kLeft);
      break;
    case Qt::Key_Right:
      ApplyGridKey(hosts_->grid_keys, grid, GridKey::kRight);
      break;
    default:
      break;
  }
}

void TKvrwin::StringGrid1KeyDown(int& key, Qt::KeyboardModifiers) {
  GridKeyDown(1, key);
}

void TKvrwin::StringGrid2KeyDown(int& key, Qt::KeyboardModifiers) {
  GridKeyDown(2, key);
}

}  // namespace app
