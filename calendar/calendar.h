// TCalendar: the small stay-on-top window "ミルネカレンダー" beside the main window. It shows one
// month with its holidays, the chosen date as a title line and the chosen day's holiday names
// in a scrolling line; it follows the main window's navigation, opens the day entry dialog for
// any date and the month jump dialog for itself, and can be minimised from either window.
#pragma once

#include <QFont>
#include <QWidget>

#include <vector>

#include "calendar/calendar_port.h"
#include "settings/ini_gt.h"

class QLabel;
class QToolButton;

namespace widgets {
class TGradBox;
class TMarqueeLabel;
}  // namespace widgets

namespace calendar {

class CalendarHost;
class TCalendarEx;

class TCalendar : public QWidget, public CalendarPort {
  Q_OBJECT

 public:
  // `settings` holds the window's placement and font, and the switches it reads and writes.
  TCalendar(CalendarHost& host, settings::TIniGT& settings, QWidget* parent = nullptr);
  ~TCalendar() override;

  // Shown at program start, unless the main window's calendar toggle says minimised.
  void ShowAtStart();
  // Whether the window stands minimised by either toggle.
  bool Minimised() const;

  // CalendarPort.
  int Year() const override;
  int Month() const override;
  int Day() const override;
  void SetDay(int day) override;
  void GoToDate(int year, int month, int day) override;
  void GoNextMonth() override;
  void GoPrevMonth() override;
  void GoNextYear() override;
  void GoPrevYear() override;
  void GoToday() override;
  // Writes the title line ("%d年%2d月%2d日") in the main window's title font and colour.
  void ShowDate(int year, int month, int day) override;
  void SetMinimised(bool minimised) override;

  // Handlers, named after their controls.
  void SpeedButton1Click();  // previous year
  void SpeedButton2Click();  // today
  void SpeedButton3Click();  // next year
  void SpeedButton4Click(bool down);
  void SpeedButton5Click();  // month jump
  void SpeedButton6Click();  // previous month
  void SpeedButton7Click();  // next month
  void CalendarEx1Change();
  void CalendarEx1DblClick();
  void CalendarEx1KeyDown(int& key, Qt::KeyboardModifiers modifiers);

  widgets::TGradBox* GradBox1;  // tool bar
  QToolButton *SpeedButton4, *SpeedButton1, *SpeedButton6, *SpeedButton2, *SpeedButton7,
      *SpeedButton3, *SpeedButton5;
  QLabel* Panel1;               // title line
  widgets::TGradBox* GradBox2;  // background of the calendar
  TCalendarEx* CalendarEx1;
  widgets::TMarqueeLabel* MarqueeLabel1;

 protected:
  // The month jump dialog, shown modally; replaced in tests.
  virtual void ExecJampMonth();

  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

  void FormCreate();
  void FormShow();
  void FormResize();
  void FormDestroy();

 private:
  void Restore();
  QToolButton* AddButton(const char* name, const char* text, const char* hint);

  CalendarHost& host_;
  settings::TIniGT& settings_;
  QFont calendar_font_;
  QFont title_font_;
  std::vector<QToolButton*> buttons_;
  bool changing_ = false;
  // Whether the control's list came from rules that name every day off themselves.
  bool list_has_days_off_ = false;
};

}  // namespace calendar
