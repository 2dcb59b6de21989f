#include "platform/file_dialog_columns.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QLocale>
#include <QTest>
#include <QTreeView>

#include "platform/documents_folder.h"
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
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));  // as the program sets it
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
  // Sizes and dates in the program's locale, whatever the system's (the tests run in C.UTF-8).
  for (int row = 0; row < 2; ++row) {
    const QModelIndex name = view->model()->index(row, 0, view->rootIndex());
    const QFileInfo file(name.data(QFileSystemModel::FilePathRole).toString());
    EXPECT_EQ(name.siblingAtColumn(1).data().toString(), QLocale().formattedDataSize(file.size()));
    EXPECT_TRUE(name.siblingAtColumn(3).data().toString().startsWith(
        QString::number(file.lastModified().date().year()) + "/"))
        << name.siblingAtColumn(3).data().toString().toStdString();
  }
  dialog.hide();
  QLocale::setDefault(before);
}

// Files the user keeps are offered in the documents folder, or in the home folder where there
// is none: a dialog given a missing folder would open in the data folder instead.
TEST(DocumentsFolder, IsTheHomeFolderUntilThereIsADocumentsFolder) {
  test_support::TempDir home;
  const QByteArray old_home = qgetenv("HOME"), old_config = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", QByteArray::fromStdString(home.path().string()));
  qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home.path() / ".config").string()));
  const QString home_path = QString::fromStdString(home.path().string());
  EXPECT_EQ(platform::DocumentsFolder(), home_path);
  std::filesystem::create_directory(home.path() / "Documents");
  EXPECT_EQ(platform::DocumentsFolder(), home_path + "/Documents");
  qputenv("HOME", old_home);
  qputenv("XDG_CONFIG_HOME", old_config);
  if (old_config.isEmpty()) qunsetenv("XDG_CONFIG_HOME");
}

}  // namespace
