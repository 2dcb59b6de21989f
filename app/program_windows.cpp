#include "app/program_windows.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "app/app_context.h"
#include "app/kvrwin.h"
#include "app/main_window_hosts.h"
#include "app/sync_commands.h"
#include "calendar/calendar.h"
#include "clock/time_clock.h"
#include "daydata/iptdlg.h"
#include "platform/window_area.h"
#include "settings/window_fit.h"

namespace app {

namespace {

QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry(), inner = window.geometry();
  return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
          frame.bottom() - inner.bottom()};
}

void SetFrameGeometry(QWidget& window, const settings::WindowRect& frame, const QMargins& m) {
  window.setGeometry(frame.x + m.left(), frame.y + m.top(), frame.width - m.left() - m.right(),
                     frame.height - m.top() - m.bottom());
}

}  // namespace

ProgramWindows::ProgramWindows(AppContext& context, QWidget* version_window)
    : context_(context), main_window_(std::make_unique<TKvrwin>(context, version_window)) {
  QGuiApplication::setQuitOnLastWindowClosed(false);
  connect(main_window_.get(), &TKvrwin::Closed, this, &ProgramWindows::MainWindowClosed,
          Qt::QueuedConnection);
}

ProgramWindows::~ProgramWindows() {
  // The clock reads the main window's settings when it is destroyed; the calendar and the day
  // entry dialog go (in reverse order of making) before the main window too.
  delete clock_;
  calendar_.reset();
  day_entry_.reset();
  main_window_.reset();
}

void ProgramWindows::Show() {
  // The main window goes on the screen before the entry dialog is made: the user sees the
  // month while the dialog's widgets are built (nothing can open it before the loop runs).
  main_window_->show();
  day_entry_ = std::make_unique<daydata::TIptdlg>(main_window_->Hosts().day_entry,
                                                  context_.Settings(), context_.HelpFile());
  main_window_->SetDayEntry(day_entry_.get());
  // Lives for the whole run beside the main window, which it follows.
  calendar_ = std::make_unique<calendar::TCalendar>(main_window_->Hosts().calendar,
                                                    context_.Settings(), main_window_.get());
  main_window_->SetCalendar(calendar_.get());
  calendar_->ShowAtStart();
  // The clock window comes after the main window, whose settings and today it uses. Closing it
  // destroys it (QPointer notices).
  clock_ = new timeclock::TTimeClock(main_window_->Hosts().clock, context_.Settings(),
                                     context_.DataDir(), context_.HelpFile());
  if (main_window_->PlacedByDefault()) ArrangeAtFirstStart();
  clock_->show();
  // Once every window stands, so that the progress has a window to stand on.
  QTimer::singleShot(0, main_window_.get(), [this] { main_window_->Sync().SyncAtStart(); });
}

void ProgramWindows::ArrangeAtFirstStart() {
  // Each window alone would take its own default place, and they overlapped: the calendar over
  // the main window's tool bar, the clock over the calendar's. Placed together, they stand
  // beside each other where the screen has room, and never over the main window's tool bar or
  // the month's title below it; where only the clock has room, the calendar starts hidden.
  constexpr int kCalendarLeastWidth = 420;
  const QScreen* screen = main_window_->screen();
  if (!screen) return;
  const QRect free = platform::WindowArea(*screen);
  // Frames are arranged, not client areas: the calendar's title bar would otherwise stand over
  // the clock, and its border beyond the screen. A frame the window manager has not put around
  // a window yet counts as none; the clock has none.
  const QMargins main_frame = FrameMargins(*main_window_),
                 calendar_frame = FrameMargins(*calendar_);
  const QRect main = main_window_->frameGeometry(), calendar = calendar_->frameGeometry();
  // The month's title ends the band to keep clear; the main window keeps its width when the
  // two go over it, so the band measured now is the one they keep clear of.
  const int top_band = main_frame.top() + main_window_->TitleBottom();
  const auto at = settings::ArrangeFirstStart(
      {free.x(), free.y(), free.width(), free.height()}, {main.width(), main.height()},
      main_window_->ToolBarLeastWidth() + main_frame.left() + main_frame.right(), top_band,
      {calendar.width(), calendar.height()},
      kCalendarLeastWidth + calendar_frame.left() + calendar_frame.right(),
      {clock_->width(), clock_->height()});
  SetFrameGeometry(*main_window_, at.main, main_frame);
  SetFrameGeometry(*calendar_, at.calendar, calendar_frame);
  clock_->move(at.clock.x, at.clock.y);
  // As if the user had pressed its toggle: 暦 shows it with one click, and the next start
  // keeps it hidden too, since its stored place is still over the month.
  if (!at.calendar_shown && !calendar_->SpeedButton4->isChecked()) {
    calendar_->SpeedButton4->click();
  }
}

timeclock::TTimeClock* ProgramWindows::ClockWindow() {
  return static_cast<timeclock::TTimeClock*>(clock_.data());
}

void ProgramWindows::Activate() {
  main_window_->setWindowState(main_window_->windowState() & ~Qt::WindowMinimized);
  main_window_->show();
  main_window_->raise();
  main_window_->activateWindow();
}

void ProgramWindows::MainWindowClosed() {
  // A main window that was shown again meanwhile (the close was queued) stays.
  if (main_window_->isVisible()) return;
  if (clock_) clock_->close();
  calendar_->hide();
  emit Ended();
  // exit() ends every event loop, a dialog's included, without asking the windows again.
  QCoreApplication::exit(0);
}

}  // namespace app
