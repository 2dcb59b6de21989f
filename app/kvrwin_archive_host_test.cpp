// The archive commands in the main window: the entries and buttons are live, both check marks
// follow "CloseArc" in the settings file, and closing the window compresses the shown year.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "app/kvrwin.h"
#include "app/kvrwin_test_fixture.h"
#include "archive/archive_file_dialogs.h"
#include "test_support/temp_dir.h"

namespace {

class OneAnswer : public archive::ArchiveFileDialogs {
 public:
  QStringList OpenFiles(QWidget*, const archive::FileDialogRequest&) override { return {}; }
  QString SaveFile(QWidget*, const archive::FileDialogRequest& request) override {
    titles << request.title;
    return answer;
  }
  QString answer;
  QStringList titles;
};

QAction* Entry(QWidget* menu, const QString& text) {
  for (QAction* a : menu->findChildren<QAction*>()) {
    if (a->text() == text) return a;
  }
  return nullptr;
}

TEST_F(KvrwinTest, ArchiveEntriesCheckMarksAndTheExitCompression) {
  // The archiver library beside the test's executable folder.
  fs::create_symlink(fs::read_symlink("/proc/self/exe").parent_path() / "libmirune_unlha.so",
                     Exe() / "libmirune_unlha.so");
  auto window = Open();
  OneAnswer dialogs;
  window->Hosts().archive.SetArchiveDialogs(&dialogs);
  QMenuBar* bar = window->menuBar();
  for (const char* text : {"データ圧縮(&P)...", "データ解凍(&U)...", "データ削除(&D)..."}) {
    QAction* a = Entry(bar, QString::fromUtf8(text));
    ASSERT_NE(a, nullptr) << text;
    EXPECT_TRUE(a->isEnabled()) << text;
  }
  for (const char* name : {"SpeedButton17", "SpeedButton24"}) {
    EXPECT_TRUE(window->findChild<QToolButton*>(name)->isEnabled()) << name;
  }
  const QString caption = QStringLiteral("終了時にデータ圧縮処理(&A)");
  QAction* main_entry = Entry(bar, caption);
  QMenu* popup = window->findChild<QMenu*>("PopupMenu1");
  QAction* popup_entry = Entry(popup, caption);
  ASSERT_TRUE(main_entry && popup_entry);
  EXPECT_FALSE(main_entry->isChecked());
  main_entry->trigger();
  EXPECT_TRUE(popup_entry->isChecked());
  EXPECT_EQ(window->SettingsFile().Store().ReadInteger(settings::keys::CloseArc, 0), 1);

  const fs::path year = window->DataDir() / std::to_string(window->ShownDate().year());
  fs::create_directories(year);
  test_support::WriteBytes(year / "KVR20000101.dat", "day");
  dialogs.answer = QString::fromStdString((dir_.path() / "exit.lzh").string());
  window->close();
  EXPECT_EQ(dialogs.titles, QStringList{QStringLiteral("ミルネ-  名前を付けて圧縮ファイルを保存")});
  EXPECT_TRUE(fs::exists(dir_.path() / "exit.lzh"));
  EXPECT_TRUE(messages_.filter(QStringLiteral("前回の圧縮ﾌｧｲﾙのﾊﾞｯｸｱｯﾌﾟはしていません.")).size() ==
              1)
      << messages_.join("\n").toStdString();
}

}  // namespace
