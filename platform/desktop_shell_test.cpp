#include "platform/desktop_shell.h"

#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

QString Q(const fs::path& path) {
  return QString::fromStdString(path.string());
}

// Waits for a started program to leave its mark; the wait only bounds a hang.
bool Appears(const fs::path& path) {
  for (int i = 0; i < 200 && !fs::exists(path); ++i) QTest::qWait(50);
  return fs::exists(path);
}

TEST(DesktopShellTest, ProgramsAndDesktopEntriesStartAsTheDesktopWouldStartThem) {
  test_support::TempDir dir;
  // A program whose name has blanks and Japanese characters is started directly.
  const fs::path program = dir.path() / "起動 テスト.sh";
  test_support::WriteBytes(program,
                           "#!/bin/sh\necho started > \"$(dirname \"$0\")/program ran\"\n");
  fs::permissions(program, fs::perms::owner_all);
  EXPECT_EQ(platform::AssociatedProgram(Q(program)), Q(program));
  ASSERT_TRUE(platform::OpenFile(Q(program)));
  EXPECT_TRUE(Appears(dir.path() / "program ran"));

  // A desktop entry runs its Exec line in its Path, field codes dropped.
  fs::create_directories(dir.path() / "作業");
  const fs::path entry = dir.path() / "メモ.desktop";
  test_support::WriteBytes(entry,
                           "[Desktop Entry]\nType=Application\nName=メモ\n"
                           "Exec=sh -c \"echo entry > 'entry ran'\" %U\nPath=" +
                               (dir.path() / "作業").string() + "\n");
  EXPECT_EQ(platform::AssociatedProgram(Q(entry)), Q(entry));
  ASSERT_TRUE(platform::OpenFile(Q(entry)));
  EXPECT_TRUE(Appears(dir.path() / "作業" / "entry ran"));

  // Entries that are no applications, and missing files, are not opened.
  const fs::path link = dir.path() / "link.desktop";
  test_support::WriteBytes(link, "[Desktop Entry]\nType=Link\nURL=file:///\n");
  EXPECT_FALSE(platform::OpenFile(Q(link)));
  EXPECT_FALSE(platform::OpenFile(Q(dir.path() / "gone.txt")));
  EXPECT_TRUE(platform::AssociatedProgram(Q(dir.path() / "gone.txt")).isEmpty());
  EXPECT_TRUE(platform::FileIcon(Q(dir.path() / "gone.txt")).isNull());
}

TEST(DesktopShellTest, DocumentsGetTheirTypesIconAndNeedAnAssociatedApplication) {
  test_support::TempDir dir;
  const fs::path document = dir.path() / "資料 一覧.txt";
  test_support::WriteBytes(document, "text\n");
  EXPECT_FALSE(platform::FileIcon(Q(document)).isNull());
  // Where the desktop names no application for the type, the document is not "opened".
  if (platform::AssociatedProgram(Q(document)).isEmpty()) {
    EXPECT_FALSE(platform::OpenFile(Q(document)));
  }
}

}  // namespace
