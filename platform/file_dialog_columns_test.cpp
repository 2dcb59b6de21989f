#include "platform/file_dialog_columns.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFileDialog>
#include <QFontMetrics>
#include <QTest>
#include <QTreeView>

#include "test_support/temp_dir.h"

namespace {

// Whether every text of `column` (and its heading) fits the column's width.
bool ColumnShowsItsTexts(const QTreeView& view, int column) {
  const QFontMetrics metrics(view.font());
  const QAbstractItemModel& model = *view.model();
  const QModelIndex root = view.rootIndex();
  if (model.rowCount(root) == 0) return false;
  int widest = metrics.horizontalAdvance(model.headerData(column, Qt::Horizontal).toString());
  for (int row = 0; row < model.rowCount(root); ++row) {
    widest = std::max(widest,
                      metrics.horizontalAdvance(model.index(row, column, root).data().toString()));
  }
  return view.columnWidth(column) >= widest;
}

TEST(FileDialogColumns, SizeAndTypeColumnsShowTheirWholeTexts) {
  test_support::TempDir dir;
  test_support::WriteBytes(dir.path() / "予定表_2026-12.pdf", std::string(3000, 'x'));
  test_support::WriteBytes(dir.path() / "とても長い名前の予定表のファイル.ics",
                           std::string(40000, 'x'));
  // Every file dialog, the static functions' included, is fitted when it shows.
  QObject owner;
  platform::FitEveryFileDialogsColumns(&owner);
  QFileDialog dialog(nullptr, QStringLiteral("開く"), QString::fromStdString(dir.path().string()));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(700, 450);
  dialog.show();
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  // The entries are read in the background; the columns follow when they arrive.
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == 2; }));
  QTest::qWait(200);
  for (int column : {1, 2, 3}) {
    EXPECT_TRUE(ColumnShowsItsTexts(*view, column)) << column;
  }
  dialog.hide();
}

}  // namespace
