// The iCalendar menu entries end to end, with the file dialogs and message boxes answered.
#include <gtest/gtest.h>

#include <QWidget>

#include "app/ical_commands.h"
#include "platform/message_box.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

TEST(IcalCommandsTest, ExportThenImportAsksFirstAndTellsTheMonth) {
  test_support::TempDir dir;
  WriteBytes(dir.path() / "a" / "2026" / "KVR20261209.dat", Sjis("3\r\n会議\r\n"));
  fs::create_directories(dir.path() / "b");
  fs::path data = dir.path() / "a";
  int changed = 0;
  QString file = QString::fromStdString((dir.path() / "days.ics").string());
  QWidget parent;
  app::IcalCommands commands(
      &parent, {[&] { return data; }, [&] { return dir.path(); },
                [&](QWidget*, bool, const QString&) { return file; }, [&] { ++changed; }});
  QStringList asked;
  QMessageBox::StandardButton answer = QMessageBox::Yes;
  platform::SetMessageHook([&](const platform::MessageRequest& request) {
    asked << request.text;
    return answer;
  });
  commands.ExportClick();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked.last().startsWith(QStringLiteral("1 日を書き出しました。")));
  data = dir.path() / "b";
  answer = QMessageBox::No;  // the summary is shown, and nothing is written on "やめる"
  commands.ImportClick();
  EXPECT_TRUE(asked.last().startsWith(QStringLiteral("1 日に 1 行を追加します")));
  EXPECT_FALSE(fs::exists(data / "2026" / "KVR20261209.dat"));
  answer = QMessageBox::Yes;
  commands.ImportClick();
  EXPECT_EQ(ReadBytes(data / "2026" / "KVR20261209.dat"), Sjis("3\r\n会議\r\n"));
  EXPECT_EQ(changed, 1);
  // A file that is not a calendar is named with the reason, and nothing changes.
  file = QString::fromStdString((data / "2026" / "KVR20261209.dat").string());
  commands.ImportClick();
  EXPECT_TRUE(asked.last().contains(QStringLiteral("iCalendar ファイルではありません")));
  EXPECT_EQ(changed, 1);
  platform::SetMessageHook(nullptr);
}

}  // namespace
