// The options dialog on the main window: its entries are live, a calendar choice redraws the
// grid at once, the closing key chosen works in the next entry dialog, and a colour shown and
// then cancelled comes back from the settings file.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/kvrwin_test_fixture.h"
#include "daydata/iptdlg.h"
#include "options/option1.h"
#include "platform/string_grid.h"
#include "widgets/grad_box.h"

using namespace settings::keys;

namespace {

// Reads what the date column paints.
class ProbedKvrwin : public TestKvrwin {
 public:
  using TestKvrwin::TestKvrwin;
  const app::PaintedDate& DateOf(int day) const {
    return painter_.Date(day <= 16 ? 0 : 1, day <= 16 ? day - 1 : day - 17);
  }
};

class Options : public options::Toption1 {
 public:
  using Toption1::Toption1;
  std::optional<QColor> colour_answer;

 protected:
  std::optional<QColor> ChooseColour(const QColor&) override { return colour_answer; }
};

class EntryDialog : public daydata::TIptdlg {
 public:
  using TIptdlg::TIptdlg;
  void OpenDayEntry() override { show(); }
};

class KvrwinOptionsTest : public KvrwinTest {
 protected:
  std::unique_ptr<ProbedKvrwin> OpenProbed() {
    auto window = std::make_unique<ProbedKvrwin>(NewContext());
    window->SetCalendar(&fake_calendar_);
    window->show();
    return window;
  }
  settings::IniStore File() const { return settings::IniStore(Ini()); }
};

QAction* Entry(QWidget* menu, const QString& text) {
  for (QAction* a : menu->findChildren<QAction*>()) {
    if (a->text() == text) return a;
  }
  return nullptr;
}

TEST_F(KvrwinOptionsTest, TheButtonAndBothMenuEntriesAreLive) {
  auto window = Open();
  EXPECT_TRUE(window->findChild<QToolButton*>("SpeedButton11")->isEnabled());
  QAction* main_entry = Entry(window->menuBar(), QStringLiteral("設定(&F)"));
  QAction* popup_entry =
      Entry(window->findChild<QMenu*>("PopupMenu1"), QStringLiteral("設定(&O)..."));
  ASSERT_TRUE(main_entry && popup_entry);
  EXPECT_TRUE(main_entry->isEnabled() && popup_entry->isEnabled());
}

struct CalendarChoice {
  const char* button;
  int year, month, day;
  bool name_shown;     // 山の日 has no place in the 2000 table
  bool rokuyou_shown;  // the short series ends with 2075
};

TEST_F(KvrwinOptionsTest, CalendarChoicesRedrawTheGridWithoutARestart) {
  settings::IniStore file = File();
  file.WriteInteger(SyukuColor, 1);
  file.WriteInteger(Rokuyou, 1);
  auto window = OpenProbed();
  Options dialog(window->Hosts().options, window->SettingsFile(), QString(), window.get());
  dialog.show();
  const CalendarChoice kChoices[] = {
      {"HolidayTableButton", 2026, 8, 11, false, true},
      {"HolidayLawButton", 2026, 8, 11, true, true},
      {"LunarSeriesButton", 2080, 1, 5, false, false},
      {"LunarAccurateButton", 2080, 1, 5, false, true},
  };
  for (const CalendarChoice& c : kChoices) {
    window->SetDate(QDate(c.year, c.month, c.day));
    dialog.findChild<QRadioButton*>(c.button)->click();
    const app::PaintedDate& date = window->DateOf(c.day);
    EXPECT_EQ(date.holiday_name == QStringLiteral("山の日"), c.name_shown) << c.button;
    EXPECT_EQ(!date.rokuyou_text.isEmpty(), c.rokuyou_shown) << c.button;
  }
  EXPECT_EQ(File().ReadInteger(HolidayRules, -1), 0);
  EXPECT_EQ(File().ReadInteger(LunarMethod, -1), 0);
}

TEST_F(KvrwinOptionsTest, EnterChosenAsClosingKeyClosesTheNextEntryDialog) {
  auto window = Open();
  EntryDialog entry(window->Hosts().day_entry, window->SettingsFile(), QString());
  window->SetDayEntry(&entry);
  {
    Options dialog(window->Hosts().options, window->SettingsFile(), QString(), window.get());
    dialog.show();
    dialog.CloseKeyButton[3]->click();
    dialog.OKButton->click();
  }
  EXPECT_EQ(File().ReadInteger(InputKeyClose, -1), 13);
  window->LeaveHalfMonth();
  window->SetDate(QDate(2026, 6, 1));
  ASSERT_TRUE(window->OpenDayEntry(1, 0));
  entry.Memo1->insertPlainText(QStringLiteral("abc"));
  QTest::keyClick(entry.Memo1, Qt::Key_Return);
  EXPECT_FALSE(entry.isVisible());
  EXPECT_TRUE(fs::exists(window->DataDir() / "2026" / "KVR20260601.dat"));
}

struct ColourCase {
  int item;  // row of the display list
  settings::ColourValue (*shown)(const TestKvrwin&);
};

TEST_F(KvrwinOptionsTest, AColourShownAndThenCancelledComesBackFromTheFile) {
  settings::IniStore file = File();
  file.WriteColour(CursorColor, 0x00112233);
  file.WriteColour(TaitolTopColor, 0x00445566);
  file.WriteInteger(FixedColWidth1, 100);
  file.WriteInteger(FixedColWidth2, 100);
  auto window = Open();
  const std::string before = test_support::ReadBytes(Ini());  // the start writes a few keys
  const ColourCase kCases[] = {
      {0, [](const TestKvrwin& w) { return w.Settings().cursor_color; }},
      {2, [](const TestKvrwin& w) { return w.GradBox1->TopColor(); }},
  };
  Options dialog(window->Hosts().options, window->SettingsFile(), QString(), window.get());
  dialog.show();
  dialog.colour_answer = QColor(0xAA, 0xBB, 0xCC);
  for (const ColourCase& c : kCases) {
    dialog.ListBox1->setCurrentRow(c.item);
    dialog.Button1->click();
    EXPECT_EQ(c.shown(*window), 0x00CCBBAAu) << c.item;  // shown at once
  }
  window->Hosts().options.PreviewDateColumnWidth(140);
  dialog.CancelButton->click();
  EXPECT_EQ(kCases[0].shown(*window), 0x00112233u);
  EXPECT_EQ(kCases[1].shown(*window), 0x00445566u);
  EXPECT_EQ(window->StringGrid1->ColWidth(0), 100);
  EXPECT_EQ(test_support::ReadBytes(Ini()), before);
}

}  // namespace
