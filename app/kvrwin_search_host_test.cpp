// The main window as the search dialog's host: "検索" is reachable from the tool bar and both
// menus and opens the dialog on the shown year, and a jump shows the result's day in the row
// that gets the cursor, from either half-month arrangement.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include "app/kvrwin_test_fixture.h"
#include "platform/string_grid.h"
#include "search/grep_search.h"
#include "settings/ini_store.h"

using test_support::Sjis;

namespace {

class KvrwinSearchTest : public KvrwinTest {
 protected:
  void SetUp() override {
    window_ = Open();
    window_->show();
  }
  std::unique_ptr<TestKvrwin> window_;
};

TEST_F(KvrwinSearchTest, ButtonAndBothMenuEntriesOpenTheDialogOnTheShownYear) {
  window_->SetDate(QDate(1999, 3, 4));
  std::vector<QAction*> entries;
  for (QAction* action : window_->findChildren<QAction*>())
    if (action->text().startsWith(QStringLiteral("検索(&S)"))) entries.push_back(action);
  ASSERT_EQ(entries.size(), 2u);  // the tools menu's and the pop-up menu's
  auto* button = window_->findChild<QToolButton*>("SpeedButton12");
  ASSERT_NE(button, nullptr);
  std::vector<std::function<void()>> openers = {[button] { button->click(); }};
  for (QAction* entry : entries) {
    EXPECT_TRUE(entry->isEnabled());
    openers.push_back([entry] { entry->trigger(); });
  }
  for (const auto& open : openers) {
    int year = 0;
    bool linked = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<search::TGrepSearch*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->windowTitle(), QStringLiteral("検索"));
      year = dialog->CSpinEdit1->value();
      linked = dialog->CheckBox1->isChecked();
      dialog->CheckBox1->setChecked(!linked);
      dialog->Button5->click();  // ＯＫ
    });
    open();
    EXPECT_EQ(year, 1999);
    const int stored = settings::IniStore(Ini()).ReadInteger(Sjis("検索連動"), "SearchCheck", -1);
    EXPECT_EQ(stored, linked ? 0 : 1);
  }
}

TEST_F(KvrwinSearchTest, JumpShowsTheDayInTheRowThatGetsTheCursor) {
  struct Case {
    int half;  // 0 full month, -1 and +1 the half-month arrangements before and after
    QDate day;
    int grid, row;  // where the cursor then stands, with the focus
  } cases[] = {
      {0, {1999, 1, 5}, 1, 4},   {0, {1999, 1, 31}, 2, 14}, {-1, {1999, 1, 5}, 2, 4},
      {-1, {1999, 1, 20}, 1, 3}, {+1, {1999, 1, 5}, 2, 4},  {+1, {1999, 12, 20}, 1, 3},
  };
  for (const Case& c : cases) {
    window_->LeaveHalfMonth();
    window_->SetDate(QDate(2026, 6, 10));
    if (c.half < 0) window_->PrevHalfMonth();
    if (c.half > 0) window_->NextHalfMonth();
    window_->Hosts().search.ShowResultDay({c.day.year(), c.day.month(), c.day.day()});
    platform::TStringGrid* shown = c.grid == 1 ? window_->StringGrid1 : window_->StringGrid2;
    EXPECT_TRUE(shown->Focused());
    EXPECT_EQ(shown->Row(), c.row);
    const month::GridMonth month = window_->Cursor().MonthOf(c.grid);
    EXPECT_EQ(QDate(month.year, month.month, month.ListOf(shown->Row())), c.day)
        << c.half << " " << c.day.toString().toStdString();
    EXPECT_EQ(window_->HalfMonth(), c.half != 0);
  }
}

}  // namespace
