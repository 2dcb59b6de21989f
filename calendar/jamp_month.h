// TJampMonth: the small modal dialog "年月変更" in which a year and a month are picked, for the
// main window or, while FromCalendar is set, for the calendar window. Made by its caller for
// one use; closing it in any way clears FromCalendar.
#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QSpinBox;

namespace calendar {

class CalendarHost;
class CalendarPort;

class TJampMonth : public QDialog {
  Q_OBJECT

 public:
  // `calendar` is the calendar window; without one only the main window can be the target.
  TJampMonth(CalendarHost& host, CalendarPort* calendar, QWidget* parent = nullptr);

  void Button1Click();  // OK: jump, then close
  void Button2Click();  // Cancel

  QSpinBox* CSpinEdit1;
  QComboBox* RetComboBox1;
  QPushButton* Button1;
  QPushButton* Button2;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

  void FormShow();
  void FormClose();

 private:
  bool ForCalendar() const;

  CalendarHost& host_;
  CalendarPort* calendar_;
};

}  // namespace calendar
