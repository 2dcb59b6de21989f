// The day entry dialog against the main window: loading and saving days, the closing paths,
// the day steps with the main window following, the editing buttons, the memo and the ToDo
// list, printing, and the holiday writer of the main window.
#include "daydata/iptdlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTest>
#include <QToolButton>

#include "app/kvrwin_test_fixture.h"
#include "daydata/iptdlg_widgets.h"
#include "platform/qt_text.h"
#include "platform/string_grid.h"
#include "platform/whole_line_editor.h"
#include "test_support/fake_calendar_port.h"
#include "widgets/grad_box.h"

using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

// The dialog without its modal parts: it shows itself without a nested loop, and the font,
// colour, print and help requests are answered here.
class TestDialog : public daydata::TIptdlg {
 public:
  using TIptdlg::TIptdlg;
  void OpenDayEntry() override { show(); }
  std::optional<QFont> font_answer;
  std::optional<QColor> colour_answer;
  QString help_file;
  int help_topic = 0;

 protected:
  std::optional<QFont> ChooseFont(const QFont&) override { return font_answer; }
  std::optional<QColor> ChooseColour(const QColor&) override { return colour_answer; }
  bool ExecPrintDialog(QPrinter&) override { return false; }
  void OpenHelp(const QString& file, int topic) override {
    help_file = file;
    help_topic = topic;
  }
};

class IptdlgTest : public KvrwinTest {
 protected:
  void SetUp() override {
    window_ = Open();
    window_->SetCalendar(&calendar_);
    dialog_ = std::make_unique<TestDialog>(window_->Hosts().day_entry, contexts_.back()->Settings(),
                                           contexts_.back()->HelpFile());
    window_->SetDayEntry(dialog_.get());
    window_->show();
  }
  void TearDown() override {
    dialog_.reset();
    window_.reset();
    fs::current_path(old_cwd_);
  }
  fs::path Data() const { return window_->DataDir(); }
  fs::path DayFile(int y, int m, int d) const {
    return Data() / std::to_string(y) / daydata::DayFileName(y, m, d);
  }
  void Put(int y, int m, int d, const std::string& bytes) {
    fs::create_directories(DayFile(y, m, d).parent_path());
    WriteBytes(DayFile(y, m, d), bytes);
  }
  // Opens the day as a double click on its row of the full month does.
  void OpenDay(int y, int m, int d) {
    if (dialog_->isVisible()) dialog_->BitBtn2Click();  // modal in the program: one at a time
    window_->LeaveHalfMonth();
    window_->SetDate(QDate(y, m, d));
    ASSERT_TRUE(window_->OpenDayEntry(d <= 16 ? 1 : 2, d <= 16 ? d - 1 : d - 17));
    ASSERT_TRUE(dialog_->isVisible());
    dialog_->activateWindow();
  }
  void Type(const QString& text) {
    dialog_->Memo1->setFocus();
    dialog_->Memo1->moveCursor(QTextCursor::End);
    // Key clicks carry Latin-1 only; Japanese text arrives as input-method text would.
    if (text.toLatin1() == text.toUtf8()) {
      QTest::keyClicks(dialog_->Memo1, text);
    } else {
      dialog_->Memo1->insertPlainText(text);
    }
  }
  QString DayText() const { return dialog_->Memo1->toPlainText(); }
  QColor TextColour() const { return dialog_->Memo1->palette().color(QPalette::Text); }
  QStringList ToDoItems() const {
    QStringList items;
    for (int i = 0; i < dialog_->ListBox1->count(); ++i)
      items << dialog_->ListBox1->item(i)->text();
    return items;
  }
  fs::path ToDoFile() const { return Start() / "ToDo.dat"; }
  fs::path MemoFile() const { return Start() / "覚書.dat"; }

  std::unique_ptr<TestKvrwin> window_;
  test_support::FakeCalendarPort calendar_;
  std::unique_ptr<TestDialog> dialog_;
};

// A year without its folder shows the data folder's own day file in the grid; the dialog opens
// that same text, an emptied day deletes that file, and an edited one goes into the new year
// folder.
TEST_F(IptdlgTest, DayKeptInTheDataFolderOpensAsTheGridShowsIt) {
  const fs::path flat = Data() / "KVR19980305.dat";
  WriteBytes(flat, "2\r\nflat\r\n");
  OpenDay(1998, 3, 5);
  EXPECT_EQ(DayText(), QStringLiteral("flat\n"));
  dialog_->Memo1->setFocus();
  dialog_->Memo1->selectAll();
  QTest::keyClick(dialog_->Memo1, Qt::Key_Delete);
  dialog_->BitBtn1Click();
  EXPECT_FALSE(fs::exists(flat));
  EXPECT_FALSE(fs::exists(Data() / "1998"));

  WriteBytes(flat, "flat\r\n");
  OpenDay(1998, 3, 5);
  Type(QStringLiteral("!"));
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(DayFile(1998, 3, 5)), "flat\r\n!\r\n");
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], QString::fromStdString("現在フォルダ。|" + (Data() / "1998").string()));
}

TEST_F(IptdlgTest, EmptyDayOkWritesNothingAndTitlePadsWithBlanks) {
  OpenDay(1999, 1, 5);
  EXPECT_EQ(dialog_->windowTitle(), QStringLiteral("入力ダイアログ"));
  EXPECT_EQ(dialog_->GradBox1->Caption(), QStringLiteral("1999年 1月 5日の行動"));
  EXPECT_EQ(dialog_->CurrentFile, "KVR19990105.dat");
  EXPECT_TRUE(DayText().isEmpty());
  EXPECT_FALSE(dialog_->GradBox1->Font3D());
  dialog_->BitBtn1Click();
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_FALSE(fs::exists(DayFile(1999, 1, 5)));
  EXPECT_FALSE(fs::exists(Data() / "1999"));
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(IptdlgTest, OkSavesMakesTheYearFolderAndReloadsTheGrid) {
  OpenDay(2026, 4, 20);
  Type(QStringLiteral("会議"));
  dialog_->BitBtn1Click();
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(ReadBytes(DayFile(2026, 4, 20)), Sjis("会議\r\n"));
  // The new year folder is announced with its path.
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], QString::fromStdString("現在フォルダ。|" + (Data() / "2026").string()));
  EXPECT_EQ(platform::ToQString(window_->DaySummary(20).GetText()), QStringLiteral("会議\r\n"));
  EXPECT_FALSE(window_->FromCalendar());
}

TEST_F(IptdlgTest, UnsavedEditsAreAskedAboutBeforeAStepOrTheCloseBox) {
  enum class Leave { kCancelButton, kCloseBox, kNextDay, kPrevDay, kToday };
  using B = QMessageBox;
  struct Case {
    Leave leave;
    B::StandardButton answer;  // NoButton: no question expected
    bool saved, still_open, same_day;
  };
  const Case cases[] = {
      {Leave::kCancelButton, B::NoButton, false, false, false},
      {Leave::kCloseBox, B::Yes, true, false, false},
      {Leave::kCloseBox, B::No, false, false, false},
      {Leave::kCloseBox, B::Cancel, false, true, true},
      {Leave::kNextDay, B::Yes, true, true, false},
      {Leave::kNextDay, B::No, false, true, false},
      {Leave::kNextDay, B::Cancel, false, true, true},
      {Leave::kPrevDay, B::Yes, true, true, false},
      {Leave::kToday, B::Cancel, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    Put(2026, 4, 2, "old\r\n");
    OpenDay(2026, 4, 2);
    Type(QStringLiteral("new"));
    requests_.clear();
    if (c.answer != B::NoButton) answers_ = {c.answer};
    switch (c.leave) {
      case Leave::kCancelButton:
        dialog_->BitBtn2Click();
        break;
      case Leave::kCloseBox:
        dialog_->close();
        break;
      case Leave::kNextDay:
        dialog_->SpeedButton6Click();
        break;
      case Leave::kPrevDay:
        dialog_->SpeedButton4Click();
        break;
      case Leave::kToday:
        dialog_->SpeedButton5Click();
        break;
    }
    if (c.answer == B::NoButton) {
      EXPECT_TRUE(requests_.isEmpty());
    } else {
      ASSERT_EQ(requests_.size(), 1);
      EXPECT_EQ(requests_[0].text,
                QStringLiteral("「2026年 4月 2日の行動」は変更されています。\n保存しますか？"));
      EXPECT_EQ(requests_[0].buttons, B::Yes | B::No | B::Cancel);
    }
    EXPECT_EQ(ReadBytes(DayFile(2026, 4, 2)), c.saved ? "old\r\nnew\r\n" : "old\r\n");
    EXPECT_EQ(dialog_->isVisible(), c.still_open);
    if (c.still_open) {
      EXPECT_EQ(dialog_->CurrentFile == "KVR20260402.dat", c.same_day);
      // Staying keeps the edit and its mark; a step leaves a clean day behind.
      EXPECT_EQ(DayText() == QStringLiteral("old\nnew"), c.same_day);
      EXPECT_EQ(dialog_->Memo1->document()->isModified(), c.same_day);
    }
    answers_.clear();
  }
  // Unchanged, or saved by 保存 (whose modified mark stays), a step asks nothing; the memo's
  // edits count at the close box.
  OpenDay(2026, 4, 2);
  requests_.clear();
  dialog_->SpeedButton6Click();
  Type(QStringLiteral("saved"));
  dialog_->SpeedButton3Click();
  requests_.clear();
  dialog_->SpeedButton4Click();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20260402.dat");
  dialog_->Memo3->setFocus();
  dialog_->Memo3->insertPlainText(QStringLiteral("memo"));
  answers_ = {B::Yes};
  dialog_->close();
  ASSERT_EQ(requests_.size(), 1);
  EXPECT_EQ(requests_[0].text, QStringLiteral("MEMOは変更されています。\n保存しますか？"));
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(ReadBytes(MemoFile()), "memo");
}

TEST_F(IptdlgTest, CharactersCodePage932CannotHoldAreNamedBeforeAnySave) {
  enum class Pane { kDay, kMemo, kToDo };
  using B = QMessageBox;
  struct Case {
    Pane pane;
    B::StandardButton answer;
  };
  const QString typed = QStringLiteral("A𠮷野家😀é");
  for (const Case& c :
       {Case{Pane::kDay, B::Cancel}, Case{Pane::kDay, B::Save}, Case{Pane::kMemo, B::Cancel},
        Case{Pane::kMemo, B::Save}, Case{Pane::kToDo, B::Cancel}, Case{Pane::kToDo, B::Save}}) {
    SCOPED_TRACE(static_cast<int>(c.pane) * 10 + (c.answer == B::Save));
    fs::remove(MemoFile());
    fs::remove(ToDoFile());
    fs::remove(DayFile(2026, 4, 3));
    OpenDay(2026, 4, 3);
    requests_.clear();
    answers_ = {c.answer};
    QPlainTextEdit* pane = c.pane == Pane::kMemo ? dialog_->Memo3 : dialog_->Memo1;
    pane->setFocus();
    pane->insertPlainText(typed);
    if (c.pane == Pane::kToDo) {
      dialog_->Memo1->selectAll();
      dialog_->HeaderControl1SectionClick(1);
    } else {
      dialog_->BitBtn1Click();
    }
    // The day's first save also announces its new year folder.
    QList<platform::MessageRequest> asked_list;
    for (const platform::MessageRequest& r : requests_)
      if (r.caption == QStringLiteral("注意")) asked_list << r;
    ASSERT_EQ(asked_list.size(), 1);
    const platform::MessageRequest& asked = asked_list[0];
    for (const char* named :
         {"「𠮷」\u00A0(U+20BB7)", "「😀」\u00A0(U+1F600)", "「é」\u00A0(U+00E9)"})
      EXPECT_TRUE(asked.text.contains(QString::fromUtf8(named))) << asked.text.toStdString();
    EXPECT_FALSE(asked.text.contains(QStringLiteral("野")));
    EXPECT_EQ(asked.default_button, B::Cancel);
    const bool saved = c.answer == B::Save;
    const std::string replaced = Sjis("A?野家??");
    switch (c.pane) {
      case Pane::kDay:
        EXPECT_EQ(dialog_->isVisible(), !saved);  // back to the text, the dialog open
        EXPECT_EQ(fs::exists(DayFile(2026, 4, 3)), saved);
        if (saved) {
          EXPECT_EQ(ReadBytes(DayFile(2026, 4, 3)), replaced + "\r\n");
        }
        break;
      case Pane::kMemo:
        EXPECT_EQ(dialog_->isVisible(), !saved);
        EXPECT_EQ(fs::exists(MemoFile()), saved);
        if (saved) {
          EXPECT_EQ(ReadBytes(MemoFile()), replaced);
        }
        break;
      case Pane::kToDo:
        EXPECT_EQ(ToDoItems().size(), saved ? 1 : 0);
        EXPECT_EQ(fs::exists(ToDoFile()), saved);
        if (saved) {
          EXPECT_EQ(ReadBytes(ToDoFile()), Sjis("04/03：") + replaced + "\r\n");
        }
        break;
    }
    answers_.clear();
  }
}

TEST_F(IptdlgTest, ColourLineRulesOnLoad) {
  Put(2026, 4, 1, "3\r\ngreen\r\n");
  Put(2026, 4, 2, "7\r\nseven\r\n");
  Put(2026, 4, 3, "plain\n");
  OpenDay(2026, 4, 1);
  EXPECT_EQ(DayText(), QStringLiteral("green\n"));
  EXPECT_EQ(TextColour(), QColor(0, 0x80, 0));
  EXPECT_EQ(dialog_->ColourCode, "3");
  dialog_->SpeedButton6Click();
  EXPECT_EQ(DayText(), QStringLiteral("7\nseven\n"));
  EXPECT_EQ(TextColour(), QColor(Qt::black));
  EXPECT_EQ(dialog_->ColourCode, "0");
  dialog_->SpeedButton6Click();
  EXPECT_EQ(DayText(), QStringLiteral("plain\n"));
  EXPECT_EQ(TextColour(), QApplication::palette().color(QPalette::Text));
  EXPECT_EQ(dialog_->ComboBox1->currentIndex(), 0);
}

TEST_F(IptdlgTest, NextDayOn31DecemberOpensTheNextYearsFolder) {
  Put(2027, 1, 1, "new year\r\n");
  Put(2026, 12, 31, "eve\r\n");
  OpenDay(2026, 12, 31);
  EXPECT_EQ(DayText(), QStringLiteral("eve\n"));
  Type(QStringLiteral("dropped"));
  answers_ = {QMessageBox::No};
  dialog_->SpeedButton6Click();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20270101.dat");
  EXPECT_EQ(dialog_->GradBox1->Caption(), QStringLiteral("2027年 1月 1日の行動"));
  EXPECT_EQ(DayText(), QStringLiteral("new year\n"));
  EXPECT_EQ(window_->ShownYear(), QStringLiteral("2027"));
  EXPECT_EQ(window_->ShownDate().year(), 2027);
  EXPECT_EQ(window_->ShownDate().month(), 1);
  EXPECT_TRUE(window_->StringGrid1->hasFocus() || window_->StringGrid1->Focused());
  EXPECT_EQ(window_->StringGrid1->Row(), 0);
  EXPECT_EQ(ReadBytes(DayFile(2026, 12, 31)), "eve\r\n");  // a step never saves
  Type(QStringLiteral("!"));
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(DayFile(2027, 1, 1)), "new year\r\n!\r\n");
  // Stepping within the month moves the cursor along the second grid.
  OpenDay(2027, 1, 20);
  dialog_->SpeedButton6Click();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20270121.dat");
  EXPECT_EQ(window_->StringGrid2->Row(), 4);
  EXPECT_EQ(window_->ShownDate().month(), 1);
}

TEST_F(IptdlgTest, PreviousDayOn1MarchOpensTheEndOfFebruary) {
  OpenDay(2024, 3, 1);
  dialog_->SpeedButton4Click();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20240229.dat");
  EXPECT_EQ(window_->ShownDate().month(), 2);
  EXPECT_EQ(window_->StringGrid2->Row(), 12);
  OpenDay(2023, 3, 1);
  dialog_->SpeedButton4Click();
  EXPECT_EQ(dialog_->GradBox1->Caption(), QStringLiteral("2023年 2月28日の行動"));
  OpenDay(2026, 1, 1);
  dialog_->SpeedButton4Click();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20251231.dat");
  EXPECT_EQ(window_->ShownYear(), QStringLiteral("2025"));
}

TEST_F(IptdlgTest, ChosenColourIsWrittenEvenWithTheTextUnchangedAndAtEverySave) {
  Put(2026, 5, 7, "text\r\n");
  OpenDay(2026, 5, 7);
  dialog_->ComboBox1Click(1);
  EXPECT_EQ(TextColour(), QColor(Qt::red));
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 7)), "1\r\ntext\r\n");

  OpenDay(2026, 5, 7);
  EXPECT_EQ(dialog_->ColourCode, "1");
  dialog_->ComboBox1Click(2);
  dialog_->SpeedButton3Click();
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 7)), "2\r\ntext\r\n");
  fs::remove(DayFile(2026, 5, 7));
  dialog_->BitBtn1Click();  // the modified mark survived the save
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 7)), "2\r\ntext\r\n");
}

TEST_F(IptdlgTest, FinishSavesEvenUnchangedAndClearingTheTextDeletesTheDay) {
  Put(2026, 5, 8, "a\nb");  // another editor's line ends
  OpenDay(2026, 5, 8);
  dialog_->SpeedButton2Click();
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 8)), "a\r\nb\r\n");
  OpenDay(2026, 5, 8);
  dialog_->Memo1->setFocus();
  dialog_->SpeedButton11Click();
  EXPECT_TRUE(DayText().isEmpty());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("a\nb\n"));
  dialog_->BitBtn1Click();
  EXPECT_FALSE(fs::exists(DayFile(2026, 5, 8)));
}

TEST_F(IptdlgTest, EnterAsCloseKeySavesAndClosesWhileCtrlEnterBreaksTheLine) {
  ChangeSettings(*window_, [](month::MainSettings& s) { s.input_key_close = 13; });
  OpenDay(2026, 6, 1);
  Type(QStringLiteral("abc"));
  QTest::keyClick(dialog_->Memo1, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_TRUE(dialog_->isVisible());
  Type(QStringLiteral("d"));
  EXPECT_EQ(DayText(), QStringLiteral("abc\nd"));
  QTest::keyClick(dialog_->Memo1, Qt::Key_Return);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(ReadBytes(DayFile(2026, 6, 1)), "abc\r\nd\r\n");

  // Shift closes unless Ctrl is held; 0 lets no key close.
  ChangeSettings(*window_, [](month::MainSettings& s) { s.input_key_close = 16; });
  OpenDay(2026, 6, 2);
  QTest::keyClick(dialog_->Memo1, Qt::Key_Shift, Qt::ControlModifier);
  EXPECT_TRUE(dialog_->isVisible());
  QTest::keyClick(dialog_->Memo1, Qt::Key_Shift);
  EXPECT_FALSE(dialog_->isVisible());
  ChangeSettings(*window_, [](month::MainSettings& s) { s.input_key_close = 0; });
  OpenDay(2026, 6, 2);
  QTest::keyClick(dialog_->Memo1, Qt::Key_Return);
  QTest::keyClick(dialog_->Memo1, Qt::Key_Shift);
  QTest::keyClick(dialog_->Memo1, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_TRUE(dialog_->isVisible());
  ChangeSettings(*window_, [](month::MainSettings& s) { s.input_key_close = 17; });
  QTest::keyClick(dialog_->Memo1, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_FALSE(dialog_->isVisible());
  // The keys that did not close were typed: the Enter made the day one empty line.
  EXPECT_EQ(ReadBytes(DayFile(2026, 6, 2)), "\r\n");
}

TEST_F(IptdlgTest, CloseKeyLeavesTheMemoAndOkSavesIt) {
  ChangeSettings(*window_, [](month::MainSettings& s) { s.input_key_close = 13; });
  OpenDay(2026, 6, 3);
  dialog_->Memo3->setFocus();
  QTest::keyClicks(dialog_->Memo3, QStringLiteral("memo"));
  Type(QStringLiteral("day"));
  QTest::keyClick(dialog_->Memo1, Qt::Key_Return);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_TRUE(fs::exists(DayFile(2026, 6, 3)));
  EXPECT_FALSE(fs::exists(MemoFile()));
  OpenDay(2026, 6, 3);
  EXPECT_TRUE(dialog_->Memo3->toPlainText().isEmpty());
  dialog_->Memo3->setFocus();
  dialog_->Memo3->insertPlainText(QStringLiteral("メモ"));
  QTest::keyClick(dialog_->Memo3, Qt::Key_Return);
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(MemoFile()), Sjis("メモ\r\n"));
  // Cancel keeps the old memo; clearing it and OK deletes the file.
  OpenDay(2026, 6, 3);
  EXPECT_EQ(dialog_->Memo3->toPlainText(), QStringLiteral("メモ\n"));
  dialog_->Memo3->setFocus();
  dialog_->SpeedButton11Click();
  dialog_->BitBtn2Click();
  EXPECT_TRUE(fs::exists(MemoFile()));
  OpenDay(2026, 6, 3);
  dialog_->Memo3->setFocus();
  dialog_->SpeedButton11Click();
  dialog_->BitBtn1Click();
  EXPECT_FALSE(fs::exists(MemoFile()));
  OpenDay(2026, 6, 3);
  EXPECT_TRUE(dialog_->Memo3->toPlainText().isEmpty());
}

TEST_F(IptdlgTest, CopyButtonMarksTheTextModified) {
  Put(2026, 7, 1, "abc\n");
  OpenDay(2026, 7, 1);
  dialog_->Memo1->setFocus();
  dialog_->SpeedButton13Click();
  dialog_->SpeedButton9Click();
  EXPECT_EQ(DayText(), QStringLiteral("abc\n"));
  EXPECT_FALSE(dialog_->Memo1->textCursor().hasSelection());
  EXPECT_TRUE(dialog_->Memo1->document()->isModified());
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("abc\n"));
  dialog_->BitBtn1Click();
  EXPECT_EQ(ReadBytes(DayFile(2026, 7, 1)), "abc\r\n");  // rewritten with CR LF
  // Undo, cut and paste act on the focused pane only.
  OpenDay(2026, 7, 1);
  dialog_->Memo3->setFocus();
  dialog_->SpeedButton10Click();
  EXPECT_EQ(dialog_->Memo3->toPlainText(), QStringLiteral("abc\n"));
  EXPECT_EQ(DayText(), QStringLiteral("abc\n"));
  dialog_->SpeedButton7Click();
  EXPECT_TRUE(dialog_->Memo3->toPlainText().isEmpty());
}

TEST_F(IptdlgTest, HalfMonthHidesTheDayButtons) {
  OpenDay(2026, 7, 2);
  EXPECT_FALSE(dialog_->SpeedButton6->isHidden());
  dialog_->BitBtn2Click();
  window_->NextHalfMonth();
  // The right grid's row 0 of the second half is the 1st of the next month.
  ASSERT_TRUE(window_->OpenDayEntry(2, 0));
  EXPECT_EQ(dialog_->CurrentFile, "KVR20260801.dat");
  for (QToolButton* b : {dialog_->SpeedButton4, dialog_->SpeedButton5, dialog_->SpeedButton6}) {
    EXPECT_TRUE(b->isHidden());
  }
}

TEST_F(IptdlgTest, TodayIsRaisedWithItsColourAndTheTodayButtonReturnsToIt) {
  const QDate today = QDate::currentDate();
  OpenDay(2020, 2, 3);
  EXPECT_FALSE(dialog_->GradBox1->Font3D());
  window_->SetDate(QDate(2020, 2, today.day() <= 28 ? today.day() : 28));
  dialog_->SpeedButton5Click();
  EXPECT_EQ(dialog_->CurrentFile, daydata::DayFileName(today.year(), today.month(), today.day()));
  EXPECT_EQ(window_->ShownDate(), today);
  EXPECT_EQ(window_->ShownYear(), QString::number(today.year()));
  EXPECT_TRUE(dialog_->GradBox1->Font3D());
  // A title colour stored by the options dialog is used.
  settings::IniStore(Ini()).WriteInteger(Sjis("入力ダイアログ日付"), "inptaitol_1", 0x00FF00);
  dialog_->SpeedButton6Click();
  dialog_->SpeedButton4Click();
  EXPECT_TRUE(dialog_->GradBox1->Font3D());
  EXPECT_EQ(dialog_->CurrentFile, daydata::DayFileName(today.year(), today.month(), today.day()));
}

TEST_F(IptdlgTest, ToDoEntriesSortByDateAndMultiLineSends) {
  Put(2026, 12, 3, Sjis("年賀状を書く") + "\r\n");
  Put(2026, 1, 20, Sjis("会議") + "\r\nagenda\r\n");
  OpenDay(2026, 12, 3);
  dialog_->HeaderControl1SectionClick(1);  // nothing selected: nothing sent
  EXPECT_FALSE(fs::exists(ToDoFile()));
  dialog_->Memo1->setFocus();
  dialog_->SpeedButton13Click();
  QTextCursor cursor = dialog_->Memo1->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  dialog_->Memo1->setTextCursor(cursor);
  dialog_->HeaderControl1SectionClick(0);  // the label section does nothing
  dialog_->HeaderControl1SectionClick(1);
  dialog_->BitBtn2Click();
  OpenDay(2026, 1, 20);
  dialog_->Memo1->selectAll();
  dialog_->HeaderControl1SectionClick(1);
  EXPECT_EQ(ToDoItems(), (QStringList{QStringLiteral("01/20：会議\nagenda\n"),
                                      QStringLiteral("12/03：年賀状")}));
  EXPECT_EQ(ReadBytes(ToDoFile()), Sjis("01/20：会議\r\nagenda\r\n\r\n12/03：年賀状\r\n"));
  // "削除" with nothing selected rewrites the file and reads it back line by line.
  dialog_->ListBox1->clearSelection();
  dialog_->HeaderControl2SectionClick(1);
  EXPECT_EQ(ToDoItems(), (QStringList{QStringLiteral("01/20：会議"), QStringLiteral("agenda"),
                                      QString(), QStringLiteral("12/03：年賀状")}));
  dialog_->ListBox1->setCurrentRow(1);
  dialog_->HeaderControl2SectionClick(1);
  EXPECT_EQ(ReadBytes(ToDoFile()), Sjis("01/20：会議\r\n\r\n12/03：年賀状\r\n"));
  EXPECT_EQ(
      dialog_->ToDoExtent(),
      QFontMetrics(dialog_->ListBox1->font()).horizontalAdvance(QStringLiteral("12/03：年賀状")) +
          60);
  // A list edited by hand comes back sorted at the next opening, letter case ignored.
  dialog_->BitBtn2Click();
  WriteBytes(ToDoFile(), "b\r\nA\r\na\r\nB\r\n");
  OpenDay(2026, 1, 20);
  EXPECT_EQ(ToDoItems(), (QStringList{"A", "a", "b", "B"}));
}

TEST_F(IptdlgTest, FailedWriteShowsTheErrorKeepsTheDialogAndTheOldFile) {
  Put(2026, 8, 1, "old\r\n");
  const int status = test_support::RunWithFileSizeLimit(16, [&] {
    OpenDay(2026, 8, 1);
    Type(QStringLiteral("a text longer than the sixteen bytes the disk has room for"));
    messages_.clear();
    dialog_->BitBtn1Click();
    if (!dialog_->isVisible()) return 1;
    if (!DayText().endsWith(QStringLiteral("room for"))) return 2;
    if (messages_.size() != 1 || !messages_[0].startsWith(QStringLiteral("ミルネ|"))) return 3;
    dialog_->SpeedButton2Click();
    if (!dialog_->isVisible() || messages_.size() != 2) return 4;
    return 0;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadBytes(DayFile(2026, 8, 1)), "old\r\n");
  // A year "folder" that is a file: the same error, the dialog stays with its text.
  WriteBytes(Data() / "2025", "not a folder");
  OpenDay(2025, 8, 1);
  Type(QStringLiteral("kept"));
  messages_.clear();
  dialog_->BitBtn1Click();
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(DayText(), QStringLiteral("kept"));
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_TRUE(messages_[0].startsWith(QStringLiteral("ミルネ|")));
}

TEST_F(IptdlgTest, FontAndColourOfTheFocusedPane) {
  Put(2026, 9, 1, "day\r\n");
  WriteBytes(MemoFile(), "memo");
  OpenDay(2026, 9, 1);
  Type(QStringLiteral("unsaved"));
  QFont chosen(QStringLiteral("ＭＳ ゴシック"), 20);
  dialog_->font_answer = chosen;
  dialog_->SpeedButton12Click();
  // The day is read again in the new font; the unsaved typing is gone.
  EXPECT_EQ(DayText(), QStringLiteral("day\n"));
  EXPECT_EQ(dialog_->Memo1->font().pointSize(), 20);
  EXPECT_EQ(dialog_->CurrentFile, "KVR20260901.dat");
  const std::string ini = ReadBytes(Ini());
  EXPECT_NE(ini.find("memofont.Size=20"), std::string::npos);
  dialog_->ListBox1->setFocus();
  dialog_->font_answer = QFont(QStringLiteral("ＭＳ 明朝"), 11);
  dialog_->SpeedButton12Click();
  EXPECT_EQ(dialog_->ListBox1->font().pointSize(), 11);
  EXPECT_NE(ReadBytes(Ini()).find("ListBoxFont.Size=11"), std::string::npos);
  dialog_->colour_answer = QColor(0x11, 0x22, 0x33);
  dialog_->SpeedButton14Click();
  EXPECT_EQ(dialog_->ListBox1->palette().color(QPalette::Base), QColor(0x11, 0x22, 0x33));
  EXPECT_NE(ReadBytes(Ini()).find("ListBoxColor=" + std::to_string(0x332211)), std::string::npos);
  dialog_->BitBtn2Click();
  OpenDay(2026, 9, 1);
  EXPECT_EQ(dialog_->ListBox1->palette().color(QPalette::Base), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(dialog_->Memo1->font().pointSize(), 20);
  dialog_->Button1Click();
  EXPECT_EQ(dialog_->help_topic, 12);
  EXPECT_EQ(dialog_->help_file, contexts_.back()->HelpFile());
}

TEST_F(IptdlgTest, PrintsTheFocusedPaneToAPdf) {
  WriteBytes(MemoFile(), Sjis("メモの一行目\r\n二行目"));
  OpenDay(2026, 9, 2);
  dialog_->Memo3->setFocus();
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  const fs::path pdf = dir_.path() / "memo.pdf";
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  dialog_->PrintFocusedPane(printer);
  EXPECT_EQ(printer.docName(), QStringLiteral("MEMO"));
  const std::string bytes = ReadBytes(pdf);
  ASSERT_GT(bytes.size(), 500u);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("/Type /Font"), std::string::npos);  // the text went out as text
  dialog_->Memo1->setFocus();
  QPrinter day_printer;
  day_printer.setOutputFormat(QPrinter::PdfFormat);
  day_printer.setOutputFileName(QString::fromStdString((dir_.path() / "day.pdf").string()));
  dialog_->PrintFocusedPane(day_printer);
  EXPECT_EQ(day_printer.docName(), QStringLiteral("2026年 9月 2日の行動"));
}

TEST_F(IptdlgTest, FromTheCalendarTheStepsMoveTheCalendarAndItsYear) {
  calendar_.Model().GoToDate(2026, 12, 31);
  window_->SetDate(QDate(2026, 12, 31));
  window_->Hosts().day_entry.SetFromCalendar(true);
  window_->Hosts().day_entry.SetShownYear(QStringLiteral("2026"));
  dialog_->OpenDayEntry();
  EXPECT_EQ(dialog_->CurrentFile, "KVR20261231.dat");
  dialog_->SpeedButton6Click();
  EXPECT_EQ(QDate(calendar_.Year(), calendar_.Month(), calendar_.Day()), QDate(2027, 1, 1));
  Type(QStringLiteral("x"));
  dialog_->BitBtn1Click();
  // Saved in the calendar year's folder, where the month view of January 2027 finds it.
  EXPECT_EQ(ReadBytes(DayFile(2027, 1, 1)), "x\r\n");
  EXPECT_FALSE(window_->FromCalendar());
}

TEST_F(IptdlgTest, LayoutKeysKeepTheirValuesOverOpenings) {
  for (int i = 0; i < 3; ++i) {
    OpenDay(2026, 10, 1);
    dialog_->BitBtn2Click();
  }
  const settings::IniStore ini(Ini());
  EXPECT_EQ(ini.ReadInteger(Sjis("入力画面分け"), "Memo1Width", 0), 400);
  EXPECT_EQ(ini.ReadInteger(Sjis("入力画面分け"), "Splitter1Left", 0), 401);
  // The designed 20 pixels hold no whole line of the memo's font: the memo keeps one line.
  EXPECT_EQ(ini.ReadInteger(Sjis("入力画面分け"), "Memo3Height", 0),
            platform::OneWholeLineHeight(*dialog_->Memo3));
  EXPECT_EQ(ini.ReadInteger(Sjis("入力ダイアログ"), "winpos.Show", 0), 1);
}

TEST_F(IptdlgTest, AMissingDataFolderIsMadeAgainAtTheFirstSave) {
  const fs::path fresh = Start() / "Myデータ";
  // A data folder that was moved away while the program was closed.
  dialog_.reset();
  window_.reset();
  settings::IniStore(Ini()).WriteString(Sjis("フォルダ移動"), "Current_Dir",
                                        Sjis((dir_.path() / "gone").string()));
  fs::current_path(Start());
  SetUp();
  OpenDay(2026, 10, 2);
  Type(QStringLiteral("x"));
  messages_.clear();
  dialog_->BitBtn1Click();
  EXPECT_FALSE(dialog_->isVisible());
  ASSERT_EQ(messages_.size(), 2);
  EXPECT_EQ(messages_[0],
            QStringLiteral("注意。|データフォルダがありません。起動した場所に作成します。"));
  EXPECT_EQ(window_->DataDir(), fresh);
  EXPECT_EQ(window_->windowTitle(), QString::fromStdString("ミルネ-" + fresh.string()));
  EXPECT_EQ(ReadBytes(fresh / "2026" / "KVR20261002.dat"), "x\r\n");
  EXPECT_EQ(settings::IniStore(Ini()).ReadString(Sjis("フォルダ移動"), "Current_Dir", ""),
            Sjis(fresh.string()));
}

// Opening a day and saving it unchanged gives back the file byte for byte, whatever it holds.
TEST_F(IptdlgTest, UnchangedSaveKeepsEveryByteOfTheDay) {
  using namespace std::string_literals;
  const std::string files[] = {
      "a\0b\r\n"s + Sjis("後の行") + "\r\n"s,       // a NUL inside a line
      "2\r\n\0\r\n\0\0"s + Sjis("会議") + "\r\n"s,  // NULs after the colour line
      "x\x1A\xA0\xFD\r\ny\r\n"s,                    // Ctrl+Z and bytes no code page has
  };
  for (const std::string& bytes : files) {
    Put(2026, 5, 20, bytes);
    OpenDay(2026, 5, 20);
    dialog_->SpeedButton3Click();  // "保存"
    EXPECT_EQ(ReadBytes(DayFile(2026, 5, 20)), bytes) << testing::PrintToString(bytes);
    dialog_->BitBtn2Click();
  }
}

// The stored height is the designed 20 pixels; the memo still shows one whole line.
TEST_F(IptdlgTest, MemoIsNeverShorterThanOneLine) {
  settings::IniStore(Ini()).WriteInteger(Sjis("入力画面分け"), "Memo3Height", 20);
  dialog_ = std::make_unique<TestDialog>(window_->Hosts().day_entry, contexts_.back()->Settings(),
                                         contexts_.back()->HelpFile());
  window_->SetDayEntry(dialog_.get());
  OpenDay(2026, 5, 20);
  QApplication::processEvents();
  const QPlainTextEdit& memo = *dialog_->Memo3;
  EXPECT_GE(memo.viewport()->height() - 2 * memo.document()->documentMargin(),
            QFontMetrics(memo.font()).lineSpacing());
}

// Every line end of the file reads as LF in the editor, and the editor's text is written back
// with CR LF; a byte the codec cannot read is carried through both ways.
TEST(EditorTextTest, LineEndsReadAsLfAndWriteBackAsCrLf) {
  using daydata::iptdlg::EditorText;
  using daydata::iptdlg::FileText;
  struct Case {
    std::string bytes;
    QString text;
    std::string written;
  } cases[] = {
      {"a\r\nb", "a\nb", "a\r\nb"},
      {"a\rb\n", "a\nb\n", "a\r\nb\r\n"},
      {"\r\r\n\n\r", "\n\n\n\n", "\r\n\r\n\r\n\r\n"},
      {Sjis("予定\r\n"), QStringLiteral("予定\n"), Sjis("予定\r\n")},
      {"\x81\r\n", QString(QChar(0xDC81)) + "\n", "\x81\r\n"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EditorText(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(FileText(EditorText(c.bytes)), c.written) << c.bytes;
  }
}

using HolidayWriterTest = IptdlgTest;

TEST_F(HolidayWriterTest, ButtonWritesTheShownMonthAndRefusesHalfMonths) {
  QToolButton* button = window_->findChild<QToolButton*>("SpeedButton25");
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(button->isEnabled());
  window_->SetDate(QDate(2026, 5, 10));
  button->click();
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 3)), Sjis("憲法記念日\r\n"));
  EXPECT_EQ(platform::ToQString(window_->DaySummary(5).GetText()),
            QStringLiteral("こどもの日\r\n"));
  const std::string once = ReadBytes(DayFile(2026, 5, 4));
  button->click();
  EXPECT_EQ(ReadBytes(DayFile(2026, 5, 4)), once);
  EXPECT_TRUE(messages_.isEmpty());
  window_->SetDate(QDate(2026, 11, 10));
  window_->PrevHalfMonth();
  button->click();
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0], QStringLiteral("注意|半月表示時は、祭日表示入力はできません！"));
  EXPECT_FALSE(fs::exists(DayFile(2026, 11, 3)));
}

}  // namespace
