// ProgramWindows: the program's top-level windows and the rule of when the program ends. It
// owns the main window, the day entry dialog, the calendar window and the clock window, makes
// them in the order each needs the others, and destroys them in the reverse order.
//
// The program ends when the main window closes, by any path (the 終了 button or menu item, Esc,
// the close box). Qt's own rule, quitting after the last window closes, is not used: its quit
// first asks every other window to close, in no fixed order, and gives up at the first one that
// refuses. The calendar window refuses (closing it only hides it), so with the clock still on
// the screen the program sometimes went on running with no main window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace calendar {
class TCalendar;
}
namespace daydata {
class TIptdlg;
}
namespace timeclock {
class TTimeClock;
}

namespace app {

class AppContext;
class TKvrwin;

class ProgramWindows : public QObject {
  Q_OBJECT

 public:
  // `version_window` is the start-up window, closed by the main window once it is set up.
  explicit ProgramWindows(AppContext& context, QWidget* version_window = nullptr);
  ~ProgramWindows() override;

  // Shows the main window, the calendar window (unless it was left hidden) and the clock.
  void Show();
  // Brings the main window to the front: a second start handed over to this one.
  void Activate();

  TKvrwin& MainWindow() { return *main_window_; }
  calendar::TCalendar& CalendarWindow() { return *calendar_; }
  // Null once the user has closed the clock window.
  timeclock::TTimeClock* ClockWindow();

 signals:
  // The main window has closed; the event loop is being ended.
  void Ended();

 private:
  void MainWindowClosed();
  void ArrangeAtFirstStart();

  AppContext& context_;
  std::unique_ptr<TKvrwin> main_window_;
  std::unique_ptr<daydata::TIptdlg> day_entry_;
  std::unique_ptr<calendar::TCalendar> calendar_;
  QPointer<QWidget> clock_;  // a timeclock::TTimeClock
};

}  // namespace app
