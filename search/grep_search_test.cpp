// The search dialog against a fake main window over a temporary data folder: one year and
// every year, the stop and the close during a long search, the clear button, the history, a
// faulty pattern, the jump (also into another year and in half-month display), Enter in the
// text box, and results from files other programs wrote.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <map>

#include "platform/file_system.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "search/grep.h"
#include "search/grep_search.h"
#include "search/grep_search_host.h"
#include "search/reg_exp_parser_error.h"
#include "test_support/temp_dir.h"

namespace search {
namespace {

namespace fs = std::filesystem;
using test_support::Sjis;

const QString kHelpFile = QStringLiteral(MIRUNE_SOURCE_DIR "/help/mirune.html");

class FakeHost : public GrepSearchHost {
 public:
  fs::path SearchDataDir() const override { return data_dir; }
  int SearchShownYear() const override { return shown_year; }
  void ShowResultDay(const ResultDate& date) override { jumps.push_back(date); }
  void ReportedWrite(const std::function<void()>& write) override { write(); }

  fs::path data_dir;
  int shown_year = 2026;
  std::vector<ResultDate> jumps;
};

// Writes a day file "KVRyyyymmdd.dat" (code page 932 bytes) into the year's folder.
void WriteDay(const fs::path& data, int y, int m, int d, const std::string& bytes) {
  char name[32];
  std::snprintf(name, sizeof name, "KVR%04d%02d%02d.dat", y, m, d);
  fs::create_directories(data / std::to_string(y));
  test_support::WriteBytes(data / std::to_string(y) / name, bytes);
}

class GrepSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_dir_ = platform::CurrentDir();
    host_.data_dir = temp_.path() / "data";
    settings_.SetFileName(QString::fromStdString((temp_.path() / "vuruva.ini").string()));
    fs::create_directories(host_.data_dir);
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_.push_back(r);
      return QMessageBox::Ok;
    });
  }
  void TearDown() override {
    dialog_.reset();
    platform::SetMessageHook(nullptr);
    platform::SetCurrentDir(saved_dir_);
  }
  TGrepSearch& Open() {
    dialog_ = std::make_unique<TGrepSearch>(host_, settings_, kHelpFile);
    dialog_->show();
    return *dialog_;
  }
  // Types the text and clicks a search button, then waits until the search has ended.
  void Search(const QString& text, QPushButton* TGrepSearch::*button, int year = 0) {
    TGrepSearch& d = *dialog_;
    if (year) d.CSpinEdit1->setValue(year);
    d.RetComboBox2->setEditText(text);
    QSignalSpy finished(&d, &TGrepSearch::SearchFinished);
    QTest::mouseClick(d.*button, Qt::LeftButton);
    ASSERT_TRUE(finished.count() > 0 || finished.wait(20000));
  }
  QStringList Items() const {
    QStringList items;
    for (int i = 0; i < dialog_->ListBox1->count(); ++i)
      items << dialog_->ListBox1->item(i)->text();
    return items;
  }
  QStringList History() const {
    QStringList items;
    for (int i = 0; i < dialog_->RetComboBox2->count(); ++i)
      items << dialog_->RetComboBox2->itemText(i);
    return items;
  }
  // A year folder of `count` small day files, each with one line that holds "hit".
  void WriteManyDays(int year, int count) {
    fs::path folder = host_.data_dir / std::to_string(year);
    fs::create_directories(folder);
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "KVR%04d%02d%02d%05d.dat", year, i % 12 + 1, i % 28 + 1, i);
      test_support::WriteBytes(folder / name, "line " + std::to_string(i) + " hit\r\n");
    }
  }

  test_support::TempDir temp_;
  fs::path saved_dir_;
  FakeHost host_;
  settings::TIniGT settings_;
  std::unique_ptr<TGrepSearch> dialog_;
  std::vector<platform::MessageRequest> messages_;
};

const QString kSep = QStringLiteral("   ：    ");

TEST_F(GrepSearchTest, OneYearAndEveryYearListResultsInDateOrder) {
  const fs::path& data = host_.data_dir;
  WriteDay(data, 1999, 1, 5, Sjis("朝\r\n会議 B\r\n会議 a\r\n"));
  WriteDay(data, 1999, 12, 31, Sjis("大晦日の会議\r\n"));
  WriteDay(data, 2026, 3, 1, Sjis("会議室\r\nなし\r\n"));
  WriteDay(data, 2001, 7, 7, Sjis("七夕\r\n"));
  host_.shown_year = 2026;
  TGrepSearch& d = Open();
  EXPECT_EQ(d.CSpinEdit1->value(), 2026);
  EXPECT_FALSE(d.Button3->isEnabled());

  struct Case {
    QPushButton* TGrepSearch::*button;
    int year;
    QStringList lines;
  } cases[] = {
      {&TGrepSearch::Button1,
       1999,
       {"1999/01/05" + kSep + "会議 a", "1999/01/05" + kSep + "会議 B",
        "1999/12/31" + kSep + "大晦日の会議"}},
      {&TGrepSearch::Button1, 2001, {}},
      {&TGrepSearch::Button6,
       2001,
       {"1999/01/05" + kSep + "会議 a", "1999/01/05" + kSep + "会議 B",
        "1999/12/31" + kSep + "大晦日の会議", "2026/03/01" + kSep + "会議室"}},
  };
  for (const Case& c : cases) {
    Search(QStringLiteral("会議"), c.button, c.year);
    EXPECT_EQ(Items(), c.lines);
    EXPECT_EQ(d.Memo1->text(), QString::number(c.lines.size()));
    EXPECT_EQ(d.Button3->isEnabled(), !c.lines.isEmpty());
    EXPECT_TRUE(d.Button1->isEnabled() && d.Button6->isEnabled() && d.RetComboBox2->isEnabled());
    EXPECT_EQ(d.ListBox1->currentRow(), c.lines.isEmpty() ? -1 : 0);
  }
  // After every year the year box is the shown year's again; the working folder never moved.
  EXPECT_EQ(d.CSpinEdit1->value(), 2026);
  EXPECT_EQ(platform::CurrentDir(), saved_dir_);
  EXPECT_TRUE(host_.jumps.empty());  // not linked: nothing moved
}

TEST_F(GrepSearchTest, StopDuringALongSearchEndsItWithinAFile) {
  WriteManyDays(2010, 20000);
  TGrepSearch& d = Open();
  d.RetComboBox2->setEditText(QStringLiteral("hit"));
  QSignalSpy finished(&d, &TGrepSearch::SearchFinished);
  QTest::mouseClick(d.Button6, Qt::LeftButton);
  EXPECT_TRUE(d.Searching());
  EXPECT_FALSE(d.Button1->isEnabled() || d.Button6->isEnabled() || d.RetComboBox2->isEnabled());
  // Wait for the first results and the progress, then stop.
  QElapsedTimer wait;
  wait.start();
  while (d.ListBox1->count() == 0 && finished.count() == 0 && wait.elapsed() < 20000)
    QTest::qWait(5);
  ASSERT_EQ(finished.count(), 0) << "the search ended before it could be stopped";
  EXPECT_TRUE(d.ProgressLabel->text().contains(QStringLiteral("2010 を検索中")))
      << d.ProgressLabel->text().toStdString();
  EXPECT_TRUE(d.ProgressLabel->text().contains(QStringLiteral("/ 20000 ファイル")));
  EXPECT_TRUE(d.ProgressBar->isVisible());
  EXPECT_EQ(d.ProgressBar->maximum(), 20000);
  EXPECT_GT(d.ProgressBar->value(), 0);
  QTest::mouseClick(d.Button2, Qt::LeftButton);
  const int seen = d.ListBox1->count();
  ASSERT_TRUE(finished.wait(20000));
  EXPECT_FALSE(d.Searching());
  EXPECT_EQ(d.ProgressLabel->text(), QStringLiteral("中断しました"));
  EXPECT_FALSE(d.ProgressBar->isVisible());
  // Nothing found after 中断 is listed: the list stands as it stood when the button was pressed.
  EXPECT_EQ(d.ListBox1->count(), seen);
  EXPECT_EQ(d.Memo1->text(), QString::number(d.ListBox1->count()));
  EXPECT_TRUE(d.Button1->isEnabled() && d.Button6->isEnabled() && d.Button3->isEnabled());
  EXPECT_EQ(History(), QStringList{QStringLiteral("hit")});
}

TEST_F(GrepSearchTest, ClosingDuringASearchStopsAndWaitsForIt) {
  WriteManyDays(2011, 20000);
  settings_.Store().WriteInteger(settings::keys::SearchCheck, 1);
  for (bool by_destructor : {false, true}) {
    TGrepSearch& d = Open();
    EXPECT_TRUE(d.CheckBox1->isChecked());
    d.RetComboBox2->setEditText(QStringLiteral("hit"));
    d.CSpinEdit1->setValue(2011);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    QTest::qWait(60);
    ASSERT_TRUE(d.Searching());
    if (by_destructor) {
      dialog_.reset();  // the worker is stopped and joined before the dialog's parts go
    } else {
      d.CheckBox1->setChecked(false);
      d.reject();
      EXPECT_FALSE(d.Searching());
      EXPECT_FALSE(d.isVisible());
      EXPECT_EQ(settings_.Store().ReadInteger(settings::keys::SearchCheck, -1),
                0);  // written on close
      settings_.Store().WriteInteger(settings::keys::SearchCheck, 1);
    }
  }
  EXPECT_TRUE(host_.jumps.empty());
}

TEST_F(GrepSearchTest, ClearEmptiesTheListAndHistoryCollectsSearchedTexts) {
  WriteDay(host_.data_dir, 2026, 5, 1, Sjis("会議\r\n打合せ\r\n"));
  host_.shown_year = 2026;
  TGrepSearch& d = Open();
  Search(QStringLiteral("会議"), &TGrepSearch::Button1);
  ASSERT_EQ(d.ListBox1->count(), 1);
  QTest::mouseClick(d.Button4, Qt::LeftButton);
  EXPECT_EQ(d.ListBox1->count(), 0);
  EXPECT_EQ(d.Memo1->text(), QStringLiteral("0"));
  EXPECT_TRUE(d.Button1->isEnabled());

  Search(QStringLiteral("打合せ"), &TGrepSearch::Button1);
  Search(QStringLiteral("どれでもない"), &TGrepSearch::Button6);
  // A year without a folder and without day files in the data folder adds nothing.
  Search(QStringLiteral("年なし"), &TGrepSearch::Button1, 1990);
  EXPECT_EQ(d.ListBox1->count(), 0);
  EXPECT_EQ(d.Memo1->text(), QStringLiteral("0"));
  EXPECT_EQ(History(), (QStringList{QStringLiteral("会議"), QStringLiteral("打合せ"),
                                    QStringLiteral("どれでもない")}));
  // The text searched stays in the box; picking from the list brings an older one back.
  EXPECT_EQ(d.RetComboBox2->currentText(), QStringLiteral("年なし"));
  d.RetComboBox2->setCurrentIndex(1);
  EXPECT_EQ(d.RetComboBox2->currentText(), QStringLiteral("打合せ"));
}

TEST_F(GrepSearchTest, FaultyPatternShowsTheEnginesMessageAndNoResults) {
  WriteDay(host_.data_dir, 2026, 5, 1, Sjis("(会議\r\n"));
  TGrepSearch& d = Open();
  for (const char* pattern : {"(会議", "[あ", "*"}) {
    std::string expected;
    try {
      TGrep grep;
      grep.SetRegExp(Sjis(pattern));
    } catch (const ERegExpParser& e) {
      expected = e.what();
    }
    ASSERT_FALSE(expected.empty()) << pattern;
    messages_.clear();
    for (auto button : {&TGrepSearch::Button1, &TGrepSearch::Button6}) {
      Search(QString::fromUtf8(pattern), button);
      ASSERT_EQ(messages_.size(), 1u) << pattern;
      EXPECT_EQ(messages_[0].text, QString::fromStdString(expected));
      EXPECT_EQ(messages_[0].icon, platform::MessageIcon::kError);
      EXPECT_EQ(d.ListBox1->count(), 0);
      EXPECT_TRUE(History().isEmpty());
      EXPECT_TRUE(d.Button1->isEnabled() && d.Button6->isEnabled());
      messages_.clear();
    }
  }
}

TEST_F(GrepSearchTest, JumpMovesTheMainWindowToTheResultsDay) {
  const fs::path& data = host_.data_dir;
  WriteDay(data, 1999, 1, 5, Sjis("会議\r\n"));
  WriteDay(data, 1999, 1, 31, Sjis("会議\r\n"));
  WriteDay(data, 1999, 12, 20, Sjis("会議\r\n"));
  host_.shown_year = 2026;
  const ResultDate days[] = {{1999, 1, 5}, {1999, 1, 31}, {1999, 12, 20}};
  for (int row = 0; row < 3; ++row) {
    host_.jumps.clear();
    TGrepSearch& d = Open();
    Search(QStringLiteral("会議"), &TGrepSearch::Button6);
    ASSERT_EQ(d.ListBox1->count(), 3);
    d.ListBox1->setCurrentRow(row);
    QTest::mouseClick(d.Button3, Qt::LeftButton);
    ASSERT_EQ(host_.jumps.size(), 1u);
    EXPECT_EQ(host_.jumps[0], days[row]) << row;
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
  }
  // Linked: the finished search goes to the first result, Down to the next, Enter jumps and
  // closes; a double click does the same.
  host_.jumps.clear();
  settings_.Store().WriteInteger(settings::keys::SearchCheck, 1);
  TGrepSearch& d = Open();
  Search(QStringLiteral("会議"), &TGrepSearch::Button6);
  QTest::keyClick(d.ListBox1, Qt::Key_Down);
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.ListBox1->currentRow(), 1);
  QTest::keyClick(d.ListBox1, Qt::Key_Return);
  ASSERT_EQ(host_.jumps.size(), 3u);
  EXPECT_EQ(host_.jumps[0], days[0]);
  EXPECT_EQ(host_.jumps[1], days[1]);
  EXPECT_EQ(host_.jumps[2], host_.jumps[1]);
  EXPECT_FALSE(d.isVisible());
}

TEST_F(GrepSearchTest, EnterInTheTextBoxMovesOnToTheSearchButton) {
  TGrepSearch& d = Open();
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  EXPECT_TRUE(d.RetComboBox2->hasFocus());
  QTest::keyClicks(d.RetComboBox2, QStringLiteral("abc"));
  QTest::keyClick(d.RetComboBox2, Qt::Key_Return);
  EXPECT_TRUE(d.Button1->hasFocus());
  EXPECT_EQ(d.RetComboBox2->currentText(), QStringLiteral("abc"));
  EXPECT_EQ(d.RetComboBox2->count(), 0);  // not taken into the list by Enter
  EXPECT_TRUE(d.isVisible());             // nor a default button pressed
  EXPECT_EQ(d.ListBox1->count(), 0);
}

TEST_F(GrepSearchTest, HelpOpensTheHelpFile) {
  TGrepSearch& d = Open();
  QTest::mouseClick(d.Button7, Qt::LeftButton);
  EXPECT_TRUE(messages_.empty());
  ASSERT_NE(platform::CurrentHelpViewer(), nullptr);
  EXPECT_EQ(platform::CurrentHelpViewer()->FilePath(), kHelpFile);
  delete platform::CurrentHelpViewer();
}

TEST_F(GrepSearchTest, ResultsFromFilesOfOtherProgramsShowAndJumpToTheirDay) {
  const fs::path& data = host_.data_dir;
  WriteDay(data, 2005, 3, 10, Sjis("一行目\n二行目の会議\n三行目"));   // lone LF, no final end
  WriteDay(data, 2005, 3, 20, Sjis("古い\r会議\r"));                   // lone CR
  WriteDay(data, 2005, 4, 2, "\x80\xff" + Sjis("会議") + "\xfd\r\n");  // bytes that are no text
  std::string big(1 << 20, 'x');
  big += Sjis("末尾の会議");
  WriteDay(data, 2005, 4, 30, big);  // a 1 MB day of one line
  TGrepSearch& d = Open();
  Search(QStringLiteral("会議"), &TGrepSearch::Button1, 2005);
  ASSERT_EQ(d.ListBox1->count(), 4);
  EXPECT_EQ(d.ListBox1->item(0)->text(), "2005/03/10" + kSep + "二行目の会議");
  EXPECT_EQ(d.ListBox1->item(1)->text(), "2005/03/20" + kSep + "会議");
  EXPECT_EQ(d.ListBox1->item(2)->text(),
            "2005/04/02" + kSep + QChar(0xFFFD) + QChar(0xFFFD) + "会議" + QChar(0xFFFD));
  EXPECT_EQ(d.ResultLines()[2],
            "2005/04/02" + Sjis("   ：    ") + "\x80\xff" + Sjis("会議") + "\xfd");
  // The list shows the head of a very long line; the whole of it stays behind the line.
  EXPECT_EQ(d.ResultLines()[3].size(), 10 + Sjis("   ：    ").size() + big.size());
  EXPECT_LT(d.ListBox1->item(3)->text().size(), 2000);
  EXPECT_TRUE(d.ListBox1->item(3)->text().startsWith("2005/04/30" + kSep + "xxx"));
  const ResultDate expected[] = {{2005, 3, 10}, {2005, 3, 20}, {2005, 4, 2}, {2005, 4, 30}};
  d.CheckBox1->click();  // linked: a click on a line jumps
  for (int row = 0; row < 4; ++row) {
    host_.jumps.clear();
    QTest::mouseClick(d.ListBox1->viewport(), Qt::LeftButton, {},
                      d.ListBox1->visualItemRect(d.ListBox1->item(row)).center());
    ASSERT_EQ(host_.jumps.size(), 1u) << row;
    EXPECT_EQ(host_.jumps[0], expected[row]);
  }
}

}  // namespace
}  // namespace search
