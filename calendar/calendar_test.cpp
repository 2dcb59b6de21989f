// The calendar control, the calendar window and the month jump dialog against a fake host.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "calendar/calendar.h"
#include "calendar/calendar_ex.h"
#include "calendar/calendar_host.h"
#include "calendar/chosen_holiday_rules.h"
#include "calendar/jamp_month.h"
#include "platform/qt_text.h"
#include "settings/ini_gt.h"
#include "test_support/temp_dir.h"
#include "widgets/marquee_label.h"

namespace calendar {
namespace {

// The main window as the calendar window sees it: the toggle and the shared flags as plain
// fields, the settings writes counted.
class FakeHost : public CalendarHost {
 public:
  void ReportedWrite(const std::function<void()>& write) override {
    ++writes;
    write();
  }
  WindowColours Colours() const override { return {}; }
  calendar::RestDays RestDays() const override { return rest; }
  void SetRestDays(const calendar::RestDays& days) override { rest = days; }
  bool CalendarToggleDown() const override { return toggle; }
  void SetCalendarToggle(bool down) override { toggle = down; }
  bool IsFromCalendar() const override { return from_calendar; }
  void SetFromCalendar(bool on) override { from_calendar = on; }
  void OpenEntryDialog(int y, int m, int d) override {
    opened = {y, m, d};
    opened_from_calendar = from_calendar;
  }
  HolidayRules& Rules() override { return rules; }
  Date MainDate() const override { return main_date; }
  void SetMainDate(const Date& date) override { main_date = date; }
  QRect MainWindowFrame() const override { return {0, 0, 800, 600}; }

  int writes = 0;
  calendar::RestDays rest;
  bool toggle = false;
  bool from_calendar = false;
  Date opened{};
  bool opened_from_calendar = false;
  ChosenHolidayRules rules{HolidayRulesChoice::kTable};
  Date main_date{2026, 1, 31};
};

// The month jump dialog is shown without a nested event loop.
class TestCalendar : public TCalendar {
 public:
  using TCalendar::TCalendar;
  int jumps = 0;

 protected:
  void ExecJampMonth() override { ++jumps; }
};

Date DateOf(const TCalendar& c) {
  return {c.Year(), c.Month(), c.Day()};
}

class CalendarWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.SetFileName(QString::fromStdString((dir_.path() / "vuruva.ini").string()));
    window_ = std::make_unique<TestCalendar>(host_, settings_);
    window_->ShowAtStart();
  }
  void Key(Qt::Key key) { QTest::keyClick(window_->CalendarEx1, key); }
  QString Title() const { return window_->Panel1->text(); }
  QString Line() const { return window_->MarqueeLabel1->Caption(); }

  // A key as the settings file holds it; -1 when missing.
  int Stored(const settings::Key& key) const { return settings_.Store().ReadInteger(key, -1); }

  test_support::TempDir dir_;
  settings::TIniGT settings_;
  FakeHost host_;
  std::unique_ptr<TestCalendar> window_;
};

TEST_F(CalendarWindowTest, ButtonsStepMonthsAndYearsFromMonthEnds) {
  struct Case {
    Date from;
    QToolButton* TCalendar::*button;
    Date to;
  } cases[] = {
      {{2023, 1, 31}, &TCalendar::SpeedButton7, {2023, 2, 28}},
      {{2024, 1, 31}, &TCalendar::SpeedButton7, {2024, 2, 29}},
      {{2024, 1, 31}, &TCalendar::SpeedButton6, {2023, 12, 31}},
      {{2024, 1, 31}, &TCalendar::SpeedButton3, {2025, 1, 31}},
      {{2024, 2, 29}, &TCalendar::SpeedButton3, {2025, 2, 28}},
      {{2024, 2, 29}, &TCalendar::SpeedButton1, {2023, 2, 28}},
      {{2024, 2, 29}, &TCalendar::SpeedButton7, {2024, 3, 29}},
      {{2024, 2, 29}, &TCalendar::SpeedButton6, {2024, 1, 29}},
      {{2000, 2, 29}, &TCalendar::SpeedButton1, {1999, 2, 28}},
  };
  for (const Case& c : cases) {
    window_->GoToDate(c.from.year, c.from.month, c.from.day);
    QTest::mouseClick(window_.get()->*c.button, Qt::LeftButton);
    EXPECT_EQ(DateOf(*window_), c.to) << (window_.get()->*c.button)->toolTip().toStdString();
    EXPECT_EQ(Title(), QString::asprintf("%d年%2d月%2d日", c.to.year, c.to.month, c.to.day));
  }
}

TEST_F(CalendarWindowTest, TodayButtonFromAnotherYear) {
  window_->GoToDate(1999, 12, 31);
  QTest::mouseClick(window_->SpeedButton2, Qt::LeftButton);
  const QDate today = QDate::currentDate();
  EXPECT_EQ(DateOf(*window_), (Date{today.year(), today.month(), today.day()}));
  EXPECT_EQ(Title(), QString::asprintf("%d年%2d月%2d日", today.year(), today.month(), today.day()));
}

TEST_F(CalendarWindowTest, HolidayLineAndColours) {
  window_->GoToDate(2000, 1, 10);  // the second Monday of 2000
  EXPECT_EQ(Title(), QStringLiteral("2000年 1月10日"));
  EXPECT_EQ(Line(), QStringLiteral("成人の日"));
  EXPECT_EQ(window_->MarqueeLabel1->Position(), 0);
  EXPECT_TRUE(window_->MarqueeLabel1->Running());
  const CalendarExModel& model = window_->CalendarEx1->Model();
  EXPECT_EQ(model.CellColour(1, 3), 8388863u);  // Monday of the third row, the 10th
  EXPECT_EQ(model.DayAt(1, 3), 10);
  window_->SetDay(11);
  EXPECT_EQ(Line(), QString());
  window_->GoToDate(2026, 5, 4);  // after 憲法記念日 on a Sunday
  EXPECT_EQ(Line(), QStringLiteral("振替休日"));
  window_->GoToDate(2026, 9, 23);  // the equinox entry follows the September shown
  EXPECT_EQ(Line(), QStringLiteral("秋分の日"));
  EXPECT_EQ(model.CellColour(6, 0), 0u);         // header
  EXPECT_EQ(model.CellColour(0, 2), 0x0000FFu);  // Sunday the 6th, red
}

TEST_F(CalendarWindowTest, HolidaysFollowTheChosenRules) {
  constexpr std::uint32_t kHoliday = 8388863;
  struct Case {
    HolidayRulesChoice rules;
    Date date;
    const char* line;
    bool holiday;
  } cases[] = {
      {HolidayRulesChoice::kLaw, {2026, 5, 3}, "憲法記念日", true},  // a Sunday
      {HolidayRulesChoice::kLaw, {2026, 5, 4}, "みどりの日", true},  // so no day off on Monday
      {HolidayRulesChoice::kLaw, {2026, 5, 5}, "こどもの日", true},
      {HolidayRulesChoice::kLaw, {2026, 5, 6}, "振替休日", true},  // the first day free of them
      {HolidayRulesChoice::kLaw, {2026, 5, 7}, "", false},
      {HolidayRulesChoice::kLaw, {2026, 9, 21}, "敬老の日", true},
      {HolidayRulesChoice::kLaw, {2026, 9, 22}, "国民の休日", true},
      {HolidayRulesChoice::kLaw, {2026, 9, 23}, "秋分の日", true},
      {HolidayRulesChoice::kLaw, {2023, 1, 2}, "振替休日", true},  // across the year's start
      {HolidayRulesChoice::kLaw, {1970, 5, 4}, "", false},         // before days off existed
      {HolidayRulesChoice::kTable, {2026, 5, 4}, "振替休日", true},
      {HolidayRulesChoice::kTable, {2026, 5, 6}, "", false},
      {HolidayRulesChoice::kLaw, {2026, 5, 4}, "みどりの日", true},  // and back again
  };
  const CalendarExModel& model = window_->CalendarEx1->Model();
  for (const Case& c : cases) {
    host_.rules.Choose(c.rules);
    window_->GoToDate(c.date.year, c.date.month, c.date.day - 1);
    window_->SetDay(c.date.day);
    EXPECT_EQ(Line(), QString::fromUtf8(c.line)) << c.date.year << "-" << c.date.day;
    EXPECT_EQ(model.CellColour(model.SelectedColumn(), model.SelectedRow()) == kHoliday, c.holiday)
        << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }
}

TEST_F(CalendarWindowTest, NeighbourCellsOfFirstAndLastWeeksAreGreyAndNotSelectable) {
  struct Case {
    Date date;
    int column, row, code;
  } cases[] = {
      {{2026, 5, 15}, 0, 1, 126},                               // 26 April before Friday the 1st
      {{2026, 5, 15}, 4, 1, 130},                               // 30 April
      {{2026, 5, 15}, 1, 6, 201},                               // 1 June after Sunday the 31st
      {{2026, 5, 15}, 6, 6, 206},  {{2026, 1, 15}, 0, 1, 128},  // December of the year before
      {{2026, 12, 15}, 6, 5, 202},                              // January of the year after
      {{2015, 2, 15}, 0, 5, 201},  // a February that fills rows 1-4 exactly
      {{2015, 2, 15}, 6, 6, 214},
  };
  for (const Case& c : cases) {
    window_->GoToDate(c.date.year, c.date.month, c.date.day);
    TCalendarEx& control = *window_->CalendarEx1;
    EXPECT_EQ(control.Model().DayAt(c.column, c.row), c.code);
    EXPECT_EQ(control.Model().CellColour(c.column, c.row), 0x00C0C0C0u);
    EXPECT_EQ(control.Model().CellText(c.column, c.row), std::to_string(c.code % 100));
    QTest::mouseClick(&control, Qt::LeftButton, {}, control.CellRect(c.column, c.row).center());
    EXPECT_EQ(DateOf(*window_), c.date) << c.code;
  }
  // A click on a day of the month takes it.
  TCalendarEx& control = *window_->CalendarEx1;
  QTest::mouseClick(&control, Qt::LeftButton, {}, control.CellRect(3, 2).center());
  EXPECT_EQ(DateOf(*window_), (Date{2015, 2, 11}));
}

TEST_F(CalendarWindowTest, KeysOfTheCalendar) {
  window_->GoToDate(2026, 5, 13);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(DateOf(*window_), (Date{2026, 6, 13}));
  Key(Qt::Key_PageUp);
  Key(Qt::Key_Down);
  EXPECT_EQ(DateOf(*window_), (Date{2026, 5, 20}));
  Key(Qt::Key_Left);
  EXPECT_EQ(DateOf(*window_), (Date{2026, 5, 19}));
  window_->SetDay(1);
  Key(Qt::Key_Left);  // into April; its 1st has March's 31st to its left
  EXPECT_EQ(DateOf(*window_), (Date{2026, 4, 1}));
  window_->GoToDate(2026, 5, 16);  // a Saturday
  Key(Qt::Key_Right);              // June's Sunday of the row, then one cell on
  EXPECT_EQ(DateOf(*window_), (Date{2026, 6, 15}));

  Key(Qt::Key_Return);
  EXPECT_EQ(host_.opened, (Date{2026, 6, 15}));
  EXPECT_TRUE(host_.opened_from_calendar);
  host_.opened = {};
  host_.from_calendar = false;
  QTest::mouseDClick(window_->CalendarEx1, Qt::LeftButton, {},
                     window_->CalendarEx1->CellRect(1, 3).center());
  EXPECT_EQ(host_.opened, (Date{2026, 6, 15}));  // Monday of row 3
  EXPECT_TRUE(host_.opened_from_calendar);

  Key(Qt::Key_Escape);
  EXPECT_FALSE(window_->isVisible());
  EXPECT_TRUE(host_.toggle);  // hidden counts as toggled off: one click brings it back
}

TEST_F(CalendarWindowTest, OwnToggleMinimisesRestoresAndWritesTheSetting) {
  QTest::mouseClick(window_->SpeedButton4, Qt::LeftButton);
  EXPECT_TRUE(host_.toggle);
  EXPECT_TRUE(window_->Minimised());
  EXPECT_EQ(Stored(settings::keys::CalendarOnOff), 1);
  window_->SpeedButton4->click();  // as the restore comes through the button
  EXPECT_FALSE(host_.toggle);
  EXPECT_FALSE(window_->Minimised());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(Stored(settings::keys::CalendarOnOff), 0);
  EXPECT_EQ(window_->SpeedButton4->toolTip(), QStringLiteral("カレンダーON/OFF"));

  // From the main window's side: the own button follows, nothing is written here.
  const int writes = host_.writes;
  window_->SetMinimised(true);
  EXPECT_TRUE(window_->SpeedButton4->isChecked());
  EXPECT_FALSE(window_->isVisible());
  window_->SetMinimised(false);
  EXPECT_FALSE(window_->SpeedButton4->isChecked());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(host_.writes, writes);
}

TEST_F(CalendarWindowTest, StartsMinimisedWhenTheToggleSaysSoAndSavesItsPlacement) {
  host_.toggle = true;
  {
    TestCalendar second(host_, settings_);
    second.ShowAtStart();
    EXPECT_TRUE(second.Minimised());
    second.move(70, 80);
  }
  EXPECT_EQ(host_.writes, 1);
  QWidget placed;
  settings_.ReadPlacement(settings::keys::CalendarPlacement, placed);
  EXPECT_EQ(placed.pos(), QPoint(70, 80));
}

TEST_F(CalendarWindowTest, ShowingReadsTheRestDaysAndColoursSaturday) {
  window_->hide();
  settings_.Store().WriteInteger(settings::keys::Syu1Color, 1);
  window_->show();
  EXPECT_TRUE(host_.rest.sunday_only);
  EXPECT_EQ(window_->CalendarEx1->Model().Colour(CalendarExModel::kSaturdayColour), 0xFF0000u);
  window_->hide();
  settings_.Store().WriteInteger(settings::keys::Syu1Color, 0);
  settings_.Store().WriteInteger(settings::keys::Syu2Color, 1);
  window_->show();
  EXPECT_EQ(window_->CalendarEx1->Model().Colour(CalendarExModel::kSaturdayColour), 0x0000FFu);
}

// The window reads only the two weekly switches back; the rest of the set goes back to the
// main window as it came, even where the file says otherwise.
TEST_F(CalendarWindowTest, ShowingHandsBackTheSwitchesItDoesNotRead) {
  window_->hide();
  host_.rest.holidays_are_rest = true;
  host_.rest.fixed_rest_days = true;
  host_.rest.weekdays[3] = true;
  settings_.Store().WriteInteger(settings::keys::Syu2Color, 1);
  settings_.Store().WriteInteger(settings::keys::SiteiColor, 0);
  settings_.Store().WriteInteger(settings::keys::SyukukyuColor, 0);
  window_->show();
  RestDays expected;
  expected.holidays_are_rest = true;
  expected.two_day_weekend = true;
  expected.fixed_rest_days = true;
  expected.weekdays[3] = true;
  EXPECT_EQ(host_.rest, expected);
}

TEST_F(CalendarWindowTest, SkippedDaysOf1582AndWholeCells) {
  window_->GoToDate(1582, 10, 10);
  EXPECT_EQ(Line(), QStringLiteral("1582/10/5-10/14は存在しません。"));
  EXPECT_NO_THROW(window_->CalendarEx1->grab());
  window_->resize(611, 400);
  const TCalendarEx& control = *window_->CalendarEx1;
  EXPECT_EQ((control.width() - 7) % 7, 0);
  EXPECT_EQ((control.height() - 7) % 7, 0);
  EXPECT_EQ(control.CellRect(6, 6).right(), control.width() - 2);  // one line after the cell
}

TEST_F(CalendarWindowTest, MonthJumpButtonSetsFromCalendar) {
  QTest::mouseClick(window_->SpeedButton5, Qt::LeftButton);
  EXPECT_EQ(window_->jumps, 1);
  EXPECT_TRUE(host_.from_calendar);
}

class JampMonthTest : public CalendarWindowTest {
 protected:
  std::unique_ptr<TJampMonth> Open(bool from_calendar) {
    host_.from_calendar = from_calendar;
    auto dialog = std::make_unique<TJampMonth>(host_, window_.get());
    dialog->show();
    return dialog;
  }
};

TEST_F(JampMonthTest, MainWindowTargetLimitsAndDay) {
  host_.main_date = {2026, 1, 31};
  auto dialog = Open(false);
  EXPECT_EQ(dialog->CSpinEdit1->minimum(), 1950);
  EXPECT_EQ(dialog->CSpinEdit1->maximum(), 2099);
  EXPECT_EQ(dialog->CSpinEdit1->value(), 2026);
  EXPECT_EQ(dialog->RetComboBox1->currentText(), QStringLiteral("1月"));
  dialog->RetComboBox1->setCurrentIndex(1);
  dialog->Button1Click();
  EXPECT_EQ(host_.main_date, (Date{2026, 2, 28}));
  EXPECT_FALSE(dialog->isVisible());

  struct Case {
    QString typed;  // what the user types over the year
    int month;
    Date jumped;
  } cases[] = {
      {"1950", 1, {1950, 1, 28}},
      {"2099", 12, {2099, 12, 28}},
      {"1949", 1, {1950, 1, 28}},  // below: the spin edit keeps its minimum
      {"2100", 12, {2099, 12, 28}},
  };
  for (const Case& c : cases) {
    host_.main_date = {2026, 3, 28};
    dialog = Open(false);
    dialog->CSpinEdit1->selectAll();
    QTest::keyClicks(dialog->CSpinEdit1, c.typed);
    dialog->CSpinEdit1->setValue(c.typed.toInt());  // and as the arrows would push it
    dialog->RetComboBox1->setCurrentIndex(c.month - 1);
    dialog->Button1Click();
    EXPECT_EQ(host_.main_date, c.jumped) << c.typed.toStdString();
  }
  // A main window stepped past the range opens the dialog at its end.
  host_.main_date = {2101, 4, 1};
  dialog = Open(false);
  EXPECT_EQ(dialog->CSpinEdit1->value(), 2099);
  EXPECT_EQ(dialog->RetComboBox1->currentIndex(), 3);
}

TEST_F(JampMonthTest, CalendarTargetGoesDownToYearZero) {
  window_->GoToDate(2024, 3, 31);
  auto dialog = Open(true);
  EXPECT_EQ(dialog->CSpinEdit1->minimum(), 0);
  EXPECT_EQ(dialog->CSpinEdit1->value(), 2024);
  EXPECT_EQ(dialog->RetComboBox1->currentIndex(), 2);
  dialog->CSpinEdit1->setValue(-1);
  dialog->RetComboBox1->setCurrentIndex(1);
  dialog->Button1Click();
  EXPECT_EQ(DateOf(*window_), (Date{0, 2, 29}));  // year 0 is a Julian leap year
  EXPECT_EQ(window_->Panel1->text(), QStringLiteral("0年 2月29日"));
  EXPECT_FALSE(host_.from_calendar);
  EXPECT_EQ(host_.main_date, (Date{2026, 1, 31}));  // the main window is left alone
  dialog = Open(true);
  dialog->CSpinEdit1->setValue(2099);
  dialog->RetComboBox1->setCurrentIndex(11);
  dialog->Button1Click();
  EXPECT_EQ(DateOf(*window_), (Date{2099, 12, 29}));
  dialog = Open(true);  // one year beyond the last: the spin edit keeps its maximum
  dialog->CSpinEdit1->selectAll();
  QTest::keyClicks(dialog->CSpinEdit1, "2100");
  dialog->RetComboBox1->setCurrentIndex(0);
  dialog->Button1Click();
  EXPECT_EQ(DateOf(*window_), (Date{2099, 1, 29}));
  // A calendar stepped below year 0 opens the dialog at year 0.
  window_->GoToDate(-3, 5, 1);
  dialog = Open(true);
  EXPECT_EQ(dialog->CSpinEdit1->value(), 0);
  EXPECT_EQ(dialog->RetComboBox1->currentIndex(), 4);
}

TEST_F(JampMonthTest, EveryWayOfClosingClearsFromCalendarAndOnlyOkJumps) {
  const std::function<void(TJampMonth&)> ways[] = {
      [](TJampMonth& d) { d.Button2Click(); },
      [](TJampMonth& d) { QTest::mouseClick(d.Button2, Qt::LeftButton); },
      [](TJampMonth& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](TJampMonth& d) { d.close(); },
      [](TJampMonth& d) { QTest::mouseClick(d.Button1, Qt::LeftButton); },
  };
  window_->GoToDate(2024, 3, 15);
  for (const auto& close : ways) {
    auto dialog = Open(true);
    dialog->RetComboBox1->setCurrentIndex(6);
    close(*dialog);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(host_.from_calendar);
  }
  EXPECT_EQ(DateOf(*window_), (Date{2024, 7, 15}));  // only the last way, OK, jumped
  EXPECT_EQ(host_.main_date, (Date{2026, 1, 31}));
}

}  // namespace
}  // namespace calendar
