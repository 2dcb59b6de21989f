// A whole session as a user has it, through the windows the program itself puts together: an
// empty folder, days, the memo and ToDo written in the entry dialog, every other window used,
// the program ended and started again. Every file must then hold exactly what was typed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <map>

#include "app/kvrwin_test_fixture.h"
#include "app/program_windows.h"
#include "calendar/calendar.h"
#include "calendar/jamp_month.h"
#include "clock/time_clock.h"
#include "daydata/iptdlg.h"
#include "options/option1.h"
#include "options/yearly_day_page.h"
#include "platform/string_grid.h"
#include "search/grep_search.h"

using test_support::ReadBytes;
using test_support::Sjis;

namespace {

// Runs `act` on the modal dialog of type Dialog that `open` brings up, from inside the
// dialog's own event loop, as a user would; a dialog still open afterwards is cancelled.
template <class Dialog>
void WithModal(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
  bool acted = false;
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog || acted) return;
    acted = true;
    poll.stop();
    act(*dialog);
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
  });
  poll.start();
  open();
  EXPECT_TRUE(acted) << "no " << Dialog::staticMetaObject.className() << " came up";
}

// Presses a button of the main window's tool bar.
void Click(app::TKvrwin& window, const char* button) {
  window.findChild<QToolButton*>(QString::fromLatin1(button))->click();
}

// Every file under `root`, by its path relative to it, with its bytes.
std::map<std::string, std::string> FilesUnder(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file())
      files[fs::relative(entry.path(), root).generic_string()] = ReadBytes(entry.path());
  }
  return files;
}

class SessionTest : public KvrwinTest {
 protected:
  // Opens a day of the shown month's grids as a double click does, and types into the dialog.
  static void OnDay(app::TKvrwin& window, int y, int m, int d,
                    const std::function<void(daydata::TIptdlg&)>& act) {
    window.SetDate(QDate(y, m, d));
    WithModal<daydata::TIptdlg>(
        [&] { window.OpenDayEntry(d <= 16 ? 1 : 2, d <= 16 ? d - 1 : d - 17); }, act);
  }
  // Ends the program as the close box does, in the program's own event loop, which the end of
  // the program leaves.
  static void Quit(app::TKvrwin& window) {
    QTimer::singleShot(0, &window, [&window] { window.close(); });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
  }
  static void Type(QPlainTextEdit* pane, const QString& text) {
    pane->setFocus();
    pane->moveCursor(QTextCursor::End);
    pane->insertPlainText(text);  // as the input method hands over Japanese text
  }
};

TEST_F(SessionTest, EveryFileHoldsWhatWasTypedAfterARestart) {
  const QString first_day = QStringLiteral("10:00 会議（第２会議室）\n資料を印刷 ①②\nｶﾀｶﾅ ~\\|");
  const QString next_day = QStringLiteral("誕生日会の準備");
  const QString memo = QStringLiteral("覚え書き：\n牛乳、卵");
  fs::path data;
  {
    app::AppContext& context = NewContext();
    app::ProgramWindows windows(context);
    windows.Show();
    app::TKvrwin& window = windows.MainWindow();
    data = context.DataDir();
    EXPECT_TRUE(FilesUnder(Start()).empty());

    // A day with its colour, a step to the next day that saves it first, the memo and a ToDo.
    OnDay(window, 2026, 12, 8, [&](daydata::TIptdlg& dialog) {
      Type(dialog.Memo1, first_day);
      dialog.ComboBox1Click(2);
      answers_ = {QMessageBox::Yes};  // 保存しますか
      dialog.SpeedButton6->click();
      EXPECT_EQ(dialog.CurrentFile, "KVR20261209.dat");
      Type(dialog.Memo1, next_day);
      dialog.Memo1->selectAll();
      dialog.HeaderControl1SectionClick(1);  // Send ToDo
      Type(dialog.Memo3, memo);
      dialog.BitBtn1->click();
    });
    // Cancel keeps nothing of what it was given.
    OnDay(window, 2026, 12, 10, [&](daydata::TIptdlg& dialog) {
      Type(dialog.Memo1, QStringLiteral("取り消す"));
      dialog.BitBtn2->click();
    });
    // The options dialog: a birthday into the list and written into the shown year.
    WithModal<options::Toption1>([&] { Click(window, "SpeedButton11"); },
                                 [&](options::Toption1& dialog) {
                                   auto* page = dialog.findChild<options::TSpecialDayPage*>();
                                   ASSERT_NE(page, nullptr);
                                   page->CSpinEdit1->setValue(1990);
                                   page->ComboBox1->setCurrentIndex(11);
                                   page->ComboBox2->setCurrentIndex(24);
                                   page->Edit1->setText(QStringLiteral("山田"));
                                   page->Button11->click();
                                   page->Button13->click();
                                   dialog.OKButton->click();
                                 });
    // The search finds the day; JUMP shows its month.
    WithModal<search::TGrepSearch>([&] { Click(window, "SpeedButton12"); },
                                   [&](search::TGrepSearch& dialog) {
                                     dialog.RetComboBox2->setEditText(QStringLiteral("会議"));
                                     dialog.Button1->click();
                                     while (dialog.Searching()) {
                                       QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
                                       dialog.DrainResults();
                                     }
                                     EXPECT_EQ(dialog.ResultLines().size(), 1u);
                                     dialog.Button5->click();
                                   });
    WithModal<calendar::TJampMonth>([&] { Click(window, "SpeedButton9"); },
                                    [&](calendar::TJampMonth& dialog) { dialog.Button2->click(); });
    // The calendar window and the clock with an alarm typed into it.
    windows.CalendarWindow().show();
    EXPECT_TRUE(windows.CalendarWindow().isVisible());
    timeclock::TTimeClock* clock = windows.ClockWindow();
    ASSERT_NE(clock, nullptr);
    clock->SpeedButton1->click();
    QTest::keyClicks(clock->MaskEdit1, "0730");
    clock->Button2->click();
    Quit(window);
  }
  for (const platform::MessageRequest& r : requests_)
    EXPECT_NE(r.icon, platform::MessageIcon::kError) << r.text.toStdString();

  const std::map<std::string, std::string> expected_start = {
      {"Birthday.dat", Sjis("1990/12/25/山田\r\n")},
      {"ToDo.dat", Sjis("12/09：誕生日会の準備\r\n")},
      {"覚書.dat", Sjis("覚え書き：\r\n牛乳、卵")},
      {"Myデータ/2026/KVR20261208.dat",
       "2\r\n" + Sjis("10:00 会議（第２会議室）\r\n資料を印刷 ①②\r\nｶﾀｶﾅ ~\\|\r\n")},
      {"Myデータ/2026/KVR20261209.dat", Sjis("誕生日会の準備\r\n")},
      {"Myデータ/2026/KVR20261225.dat", Sjis("山田の誕生日(36歳)\r\n")},
  };
  ASSERT_EQ(data, Start() / "Myデータ");
  EXPECT_EQ(FilesUnder(Start()), expected_start);

  // The second start shows and keeps the same, and closing it changes no byte. A new process
  // starts in the start-up folder; the first one's working folder was moved to a year folder.
  fs::current_path(Start());
  {
    app::ProgramWindows windows(NewContext());
    windows.Show();
    app::TKvrwin& window = windows.MainWindow();
    OnDay(window, 2026, 12, 8, [&](daydata::TIptdlg& dialog) {
      EXPECT_EQ(dialog.Memo1->toPlainText(), first_day + "\n");
      EXPECT_EQ(dialog.ColourCode, "2");
      EXPECT_EQ(dialog.Memo3->toPlainText(), memo);
      EXPECT_EQ(dialog.ListBox1->count(), 1);
      dialog.SpeedButton2->click();  // 入力終了 saves even unchanged
    });
    ASSERT_NE(windows.ClockWindow(), nullptr);
    EXPECT_EQ(windows.ClockWindow()->MaskEdit1->text(), "07:30");
    Quit(window);
  }
  EXPECT_EQ(FilesUnder(Start()), expected_start);
}

}  // namespace
