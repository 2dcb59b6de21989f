#include "calendar/jamp_month.h"

#include <QComboBox>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

#include "calendar/calendar_host.h"
#include "calendar/calendar_port.h"
#include "calendar/month_jump_rules.h"
#include "calendar/year_spin_box.h"
#include "platform/fonts.h"

namespace calendar {

TJampMonth::TJampMonth(CalendarHost& host, CalendarPort* calendar, QWidget* parent)
    : QDialog(parent), host_(host), calendar_(calendar) {
  setObjectName("JampMonth");
  setWindowTitle(QStringLiteral("年月変更"));
  setModal(true);
  QFont font(platform::kGothicFace);
  font.setPixelSize(15);
  setFont(font);
  setFixedSize(333, 165);

  CSpinEdit1 = new YearSpinBox(this);
  CSpinEdit1->setObjectName("CSpinEdit1");
  CSpinEdit1->setGeometry(43, 32, 105, 28);
  const YearRange designed;
  CSpinEdit1->setRange(designed.minimum, designed.maximum);
  RetComboBox1 = new QComboBox(this);
  RetComboBox1->setObjectName("RetComboBox1");
  RetComboBox1->setGeometry(176, 32, 121, 28);
  RetComboBox1->setMaxVisibleItems(12);
  RetComboBox1->setAttribute(Qt::WA_InputMethodEnabled, false);
  for (int month = 1; month <= 12; ++month)
    RetComboBox1->addItem(QString::number(month) + QStringLiteral("月"));
  Button1 = new QPushButton(QStringLiteral("OK"), this);
  Button1->setObjectName("Button1");
  Button1->setGeometry(74, 117, 85, 30);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  Button2->setObjectName("Button2");
  Button2->setGeometry(177, 117, 85, 30);
  connect(Button1, &QPushButton::clicked, this, &TJampMonth::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TJampMonth::Button2Click);
}

bool TJampMonth::ForCalendar() const {
  return host_.IsFromCalendar() && calendar_ != nullptr;
}

void TJampMonth::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TJampMonth::FormShow() {
  const bool for_calendar = ForCalendar();
  const YearRange range = JumpYearRange(for_calendar);
  CSpinEdit1->setRange(range.minimum, range.maximum);
  const int year = for_calendar ? calendar_->Year() : host_.MainDate().year;
  const int month = for_calendar ? calendar_->Month() : host_.MainDate().month;
  CSpinEdit1->setValue(JumpStartYear(year, range));
  RetComboBox1->setCurrentIndex(month - 1);
  CSpinEdit1->setFocus();
  CSpinEdit1->selectAll();
}

void TJampMonth::Button1Click() {
  CSpinEdit1->interpretText();
  const int year = CSpinEdit1->value();
  const int month = RetComboBox1->currentIndex() + 1;
  if (ForCalendar()) {
    calendar_->GoToDate(year, month, calendar_->Day());
    calendar_->ShowOwnDate();
  } else {
    host_.SetMainDate(MainWindowJumpDate(year, month, host_.MainDate().day));
  }
  accept();
}

void TJampMonth::Button2Click() {
  reject();
}

void TJampMonth::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TJampMonth::FormClose() {
  host_.SetFromCalendar(false);
}

}  // namespace calendar
