// The main window, the day entry dialog and the calendar window together, as the program makes
// them: the calendar follows the main window's navigation, both toggles minimise it and write
// the setting, and the entry dialog opened from the calendar saves into the calendar's year.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include "app/kvrwin_test_fixture.h"
#include "calendar/calendar.h"
#include "calendar/calendar_ex.h"
#include "calendar/jamp_month.h"
#include "daydata/day_store.h"
#include "daydata/iptdlg.h"
#include "platform/string_grid.h"
#include "widgets/grad_box.h"

using test_support::ReadBytes;
using test_support::Sjis;

namespace {

// The entry dialog shows itself without a nested event loop.
class ShownDialog : public daydata::TIptdlg {
 public:
  using TIptdlg::TIptdlg;
  void OpenDayEntry() override { show(); }
};

class KvrwinCalendarTest : public KvrwinTest {
 protected:
  void SetUp() override {
    window_ = Open();
    dialog_ = std::make_unique<ShownDialog>(window_->Hosts().day_entry, window_->SettingsFile(),
                                            QString());
    window_->SetDayEntry(dialog_.get());
    calendar_ =
        std::make_unique<calendar::TCalendar>(window_->Hosts().calendar, window_->SettingsFile());
    window_->SetCalendar(calendar_.get());
    window_->show();
    calendar_->ShowAtStart();
  }
  void TearDown() override {
    calendar_.reset();
    dialog_.reset();
    window_.reset();
  }
  int OnOff() const {
    return settings::IniStore(Ini()).ReadInteger(Sjis("カレンダー表示"), "CalendarOnOff", -1);
  }
  QDate CalendarDate() const {
    return QDate(calendar_->Year(), calendar_->Month(), calendar_->Day());
  }
  void Type(const QString& text) {
    dialog_->Memo1->setFocus();
    dialog_->Memo1->insertPlainText(text);
  }
  fs::path DayFile(int y, int m, int d) const {
    return window_->DataDir() / std::to_string(y) / daydata::DayFileName(y, m, d);
  }

  std::unique_ptr<TestKvrwin> window_;
  std::unique_ptr<ShownDialog> dialog_;
  std::unique_ptr<calendar::TCalendar> calendar_;
};

TEST_F(KvrwinCalendarTest, FreshStartShowsTheCalendarBesideAndTheToggleHidesAndShowsIt) {
  EXPECT_TRUE(calendar_->isVisible());
  EXPECT_EQ(calendar_->windowTitle(), QStringLiteral("ミルネカレンダー"));
  EXPECT_TRUE(calendar_->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(CalendarDate(), QDate::currentDate());
  // Beside the main window where the screen leaves room for both.
  calendar_.reset();
  window_->setGeometry(0, 0, 200, 400);
  calendar_ =
      std::make_unique<calendar::TCalendar>(window_->Hosts().calendar, window_->SettingsFile());
  window_->SetCalendar(calendar_.get());
  calendar_->ShowAtStart();
  EXPECT_GT(calendar_->frameGeometry().left(), window_->frameGeometry().right());
  EXPECT_EQ(CalendarDate(), QDate::currentDate());
  QTest::mouseClick(window_->CalendarButton, Qt::LeftButton);
  EXPECT_FALSE(calendar_->isVisible());
  EXPECT_TRUE(calendar_->SpeedButton4->isChecked());
  EXPECT_EQ(OnOff(), 1);
  QTest::mouseClick(window_->CalendarButton, Qt::LeftButton);
  EXPECT_TRUE(calendar_->isVisible());
  EXPECT_FALSE(calendar_->SpeedButton4->isChecked());
  EXPECT_EQ(OnOff(), 0);
  // Hidden by closing (Esc, the close box) or minimising, one click on 暦 brings it back.
  for (const auto hide : {+[](QWidget& w) { w.close(); },
                          +[](QWidget& w) { w.setWindowState(Qt::WindowMinimized); }}) {
    hide(*calendar_);
    EXPECT_TRUE(window_->CalendarButton->isChecked());
    QTest::mouseClick(window_->CalendarButton, Qt::LeftButton);
    EXPECT_TRUE(calendar_->isVisible());
    EXPECT_FALSE(calendar_->isMinimized());
  }
}

TEST_F(KvrwinCalendarTest, TheCalendarsToggleMovesTheMainWindowsButtonAndTheNextStart) {
  QTest::mouseClick(calendar_->SpeedButton4, Qt::LeftButton);
  EXPECT_TRUE(window_->CalendarButton->isChecked());
  EXPECT_TRUE(calendar_->Minimised());
  EXPECT_EQ(OnOff(), 1);
  calendar_->SetMinimised(false);
  calendar_->setGeometry(30, 40, 500, 320);
  calendar_->SetMinimised(true);
  calendar_.reset();  // the program ends: the placement is written
  window_->SetCalendar(nullptr);
  window_.reset();
  window_ = Open();
  EXPECT_TRUE(window_->CalendarButton->isChecked());
  calendar_ =
      std::make_unique<calendar::TCalendar>(window_->Hosts().calendar, window_->SettingsFile());
  window_->SetCalendar(calendar_.get());
  calendar_->ShowAtStart();
  EXPECT_TRUE(calendar_->Minimised());
  EXPECT_EQ(calendar_->geometry(), QRect(30, 40, 500, 320));
  QTest::mouseClick(window_->CalendarButton, Qt::LeftButton);  // restored from the main side
  EXPECT_TRUE(calendar_->isVisible());
  EXPECT_EQ(OnOff(), 0);
}

TEST_F(KvrwinCalendarTest, MainWindowNavigationMovesTheCalendar) {
  window_->SetDate(QDate(2026, 1, 31));
  calendar_->GoToDate(2026, 1, 31);
  QTest::mouseClick(window_->GradBox2->findChild<QToolButton*>("SpeedButton7"), Qt::LeftButton);
  EXPECT_EQ(window_->ShownDate(), QDate(2026, 2, 28));
  EXPECT_EQ(CalendarDate(), QDate(2026, 2, 28));
  EXPECT_EQ(calendar_->Panel1->text(), QStringLiteral("2026年 2月28日"));
  window_->SelectGridRow(2, 5);
  QTest::keyClick(window_->StringGrid2, Qt::Key_PageDown);
  EXPECT_EQ(CalendarDate().month(), 3);
  QTest::mouseClick(window_->GradBox2->findChild<QToolButton*>("SpeedButton2"), Qt::LeftButton);
  EXPECT_EQ(CalendarDate().year(), 2025);
  // The cursor moving down the left grid carries the calendar's day when it shows the month.
  window_->SetDate(QDate(2025, 3, 5));
  calendar_->GoToDate(2025, 3, 5);
  window_->SelectGridRow(1, 4);
  QTest::keyClick(window_->StringGrid1, Qt::Key_Down);
  EXPECT_EQ(CalendarDate(), QDate(2025, 3, 6));
}

TEST_F(KvrwinCalendarTest, MonthJumpOfTheMainWindowLeavesTheCalendar) {
  window_->SetDate(QDate(2026, 1, 31));
  calendar_->GoToDate(2026, 1, 31);
  calendar::TJampMonth dialog(window_->Hosts().calendar, calendar_.get(), window_.get());
  window_->Hosts().calendar.SetFromCalendar(false);
  dialog.show();
  dialog.RetComboBox1->setCurrentIndex(1);
  dialog.Button1Click();
  EXPECT_EQ(window_->ShownDate(), QDate(2026, 2, 28));
  EXPECT_EQ(window_->Panel1->text().contains(QStringLiteral("2月")), true);
  EXPECT_EQ(CalendarDate(), QDate(2026, 1, 31));
}

TEST_F(KvrwinCalendarTest, EntryDialogFromTheCalendarSavesOnNewYearsEveAndStepsIntoJanuary) {
  calendar_->GoToDate(2026, 12, 31);
  calendar_->CalendarEx1->setFocus();
  QTest::keyClick(calendar_->CalendarEx1, Qt::Key_Return);
  ASSERT_TRUE(dialog_->isVisible());
  EXPECT_TRUE(window_->FromCalendar());
  EXPECT_EQ(window_->ShownDay(), QStringLiteral("31"));
  EXPECT_EQ(dialog_->CurrentFile, "KVR20261231.dat");
  Type(QStringLiteral("大晦日"));
  dialog_->SpeedButton3Click();  // save, stay open
  EXPECT_EQ(ReadBytes(DayFile(2026, 12, 31)), Sjis("大晦日\r\n"));
  dialog_->SpeedButton6Click();  // next day: the calendar turns the year
  EXPECT_EQ(CalendarDate(), QDate(2027, 1, 1));
  EXPECT_EQ(calendar_->Panel1->text(), QStringLiteral("2027年 1月 1日"));
  EXPECT_EQ(dialog_->CurrentFile, "KVR20270101.dat");
  Type(QStringLiteral("元日"));
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(DayFile(2027, 1, 1)), Sjis("元日\r\n"));
  EXPECT_FALSE(fs::exists(DayFile(2026, 1, 1)));
  EXPECT_FALSE(window_->FromCalendar());
}

TEST_F(KvrwinCalendarTest, EveryWayOfClosingTheEntryDialogClearsFromCalendar) {
  const std::function<void(daydata::TIptdlg&)> ways[] = {
      [](daydata::TIptdlg& d) { d.BitBtn1Click(); },
      [](daydata::TIptdlg& d) { d.BitBtn2Click(); },
      [](daydata::TIptdlg& d) { d.SpeedButton2Click(); },
      [](daydata::TIptdlg& d) { d.close(); },
      [](daydata::TIptdlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
  };
  calendar_->GoToDate(2026, 7, 7);
  int way = 0;
  for (const auto& close : ways) {
    calendar_->CalendarEx1DblClick();
    ASSERT_TRUE(dialog_->isVisible()) << way;
    EXPECT_TRUE(window_->FromCalendar());
    EXPECT_EQ(dialog_->CurrentFile, "KVR20260707.dat");
    close(*dialog_);
    EXPECT_FALSE(dialog_->isVisible()) << way;
    EXPECT_FALSE(window_->FromCalendar()) << way;
    ++way;
  }
}

}  // namespace
