#include "app/kvrwin.h"
#include "app/kvrwin_test_fixture.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QToolButton>

#include <memory>

#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;

namespace {

TEST_F(KvrwinStartTest, FirstStartMakesTheDataFolderAndSavesIt) {
  auto window = Open();
  fs::path data = Start() / "Myデータ";
  EXPECT_EQ(window->windowTitle(), QString::fromStdString("ミルネ - " + data.string()));
  EXPECT_TRUE(fs::is_directory(data));
  EXPECT_EQ(window->DataDir(), data);
  EXPECT_EQ(fs::current_path(), data);
  std::string ini = ReadBytes(Ini());
  EXPECT_NE(ini.find("Current_Dir=\xA2" + Sjis(data.string()) + "\xA3\r\n"), std::string::npos);
  window.reset();
  fs::current_path(Start());
  window = Open();
  EXPECT_EQ(window->windowTitle(), QString::fromStdString("ミルネ-" + data.string()));
  EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(KvrwinStartTest, DeletedDefaultFolderIsMadeAgainAndOtherFoldersAreLeftAlone) {
  fs::path data = Start() / "Myデータ";
  Open().reset();
  fs::remove_all(data);
  fs::current_path(Start());
  auto window = Open();
  EXPECT_TRUE(fs::is_directory(data));
  EXPECT_EQ(window->windowTitle(), QString::fromStdString("ミルネ - " + data.string()));
  window.reset();
  // A folder elsewhere that does not exist is neither made nor reported.
  fs::path elsewhere = dir_.path() / "gone";
  settings::IniStore(Ini()).WriteString(Sjis("フォルダ移動"), "Current_Dir", elsewhere.string());
  fs::current_path(Start());
  window = Open();
  EXPECT_EQ(window->DataDir(), elsewhere);
  EXPECT_FALSE(fs::exists(elsewhere));
  EXPECT_EQ(window->windowTitle(), QString::fromStdString("ミルネ-" + elsewhere.string()));
}

// A data folder written by hand as a bare name is the one in the start-up folder, and its days
// are shown from there.
TEST_F(KvrwinStartTest, RelativeDataFolderSettingIsTakenFromTheStartUpFolder) {
  fs::create_directories(Start() / "days" / "2026");
  test_support::WriteBytes(Start() / "days" / "2026" / "KVR20260305.dat", "rel\r\n");
  settings::IniStore(Ini()).WriteString(Sjis("フォルダ移動"), "Current_Dir", "days");
  auto window = Open();
  EXPECT_EQ(window->DataDir(), Start() / "days");
  window->SetDate(QDate(2026, 3, 5));
  EXPECT_EQ(window->day_summaries_[5].Count(), 1);
}

TEST_F(KvrwinStartTest, ClosingWritesPlacementWidthsAndHalfMonth) {
  test_support::WriteBytes(Ini(), "[" + Sjis("固定グリッド１幅") + "]\r\n1FixedColWidth=120\r\n[" +
                                      Sjis("固定グリッド2幅") + "]\r\n 2FixedColWidth=90\r\n");
  auto window = Open();
  EXPECT_EQ(window->Settings().fixed_col_width, 90);
  window->setGeometry(20, 30, 640, 480);
  window->NextHalfMonth();
  window.reset();
  settings::IniStore ini(Ini());
  EXPECT_EQ(ini.ReadInteger(Sjis("半月表示"), "HalfMonth", -1), 1);
  EXPECT_EQ(ini.ReadInteger(Sjis("ミルネ"), "winpos.X", -1), 20);
  EXPECT_EQ(ini.ReadInteger(Sjis("ミルネ"), "winpos.XSize", -1), 660);
  EXPECT_EQ(ini.ReadInteger(Sjis("ミルネ"), "winpos.YSize", -1), 510);
  EXPECT_EQ(ini.ReadInteger(Sjis("固定グリッド１幅"), "1FixedColWidth", -1), 90);
  EXPECT_EQ(ini.ReadInteger(Sjis("固定グリッド2幅"), " 2FixedColWidth", -1), 90);
  fs::current_path(Start());
  window = Open();
  EXPECT_EQ(window->geometry(), QRect(20, 30, 640, 480));
  EXPECT_EQ(window->HalfMonth(), 1);
}

TEST_F(KvrwinStartTest, OldSettingsFileIsTakenOverOnce) {
  test_support::WriteBytes(Start() / "kvrwin10.ini", "[" + Sjis("六曜表示") + "]\r\nRokuyou=1\r\n");
  auto window = Open();
  EXPECT_EQ(window->Settings().rokuyou, 1);
  EXPECT_FALSE(fs::exists(Start() / "kvrwin10.ini"));
  window.reset();
  // With a settings file in place, an older one never replaces it.
  test_support::WriteBytes(Start() / "kvrwin10.ini", "[x]\r\ny=1\r\n");
  fs::current_path(Start());
  window = Open();
  EXPECT_EQ(window->Settings().rokuyou, 1);
  EXPECT_TRUE(fs::exists(Start() / "kvrwin10.ini"));
}

TEST_F(KvrwinStartTest, DataFolderToolAcceptsOnlyPlainFoldersBelowStart) {
  fs::create_directories(Start() / "work" / "1999");
  fs::create_directories(Start() / "1900");
  fs::create_directories(Start() / "locked");
  fs::permissions(Start() / "locked", fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directories(dir_.path() / "outside");
  auto window = Open();
  window->SpeedButton27->setChecked(true);
  EXPECT_FALSE(window->DirectoryListBox1->isHidden());
  // The tool lists the start-up folder without entering it.
  EXPECT_EQ(window->listed_dir_, Start());
  EXPECT_EQ(fs::current_path(), Start() / "Myデータ");

  window->OpenDirectory(Start() / "work" / "1999");  // a year folder: nothing at all
  EXPECT_TRUE(messages_.isEmpty());
  EXPECT_EQ(window->DataDir(), Start() / "Myデータ");

  window->OpenDirectory(Start() / "locked");
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(messages_[0],
            QStringLiteral("Current_Dir|データフォルダを移動できるのは起動フォルダ内のみです"));
  window->OpenDirectory(dir_.path() / "outside");
  EXPECT_EQ(messages_.size(), 2);
  window->OpenDirectory(Start());  // the start-up folder itself: nothing
  EXPECT_EQ(messages_.size(), 2);

  window->OpenDirectory(Start() / "1900");  // 1900 is not a year folder here
  EXPECT_EQ(window->DataDir(), Start() / "1900");
  EXPECT_EQ(window->windowTitle(),
            QString::fromStdString("ミルネ - " + (Start() / "1900").string()));
  settings::IniStore ini(Ini());
  EXPECT_EQ(ini.ReadString(Sjis("フォルダ移動"), "Current_Dir", ""), (Start() / "1900").string());

  window->SpeedButton27->setChecked(false);
  EXPECT_TRUE(window->DirectoryListBox1->isHidden());
  EXPECT_TRUE(window->sub_dirs_.empty());
  EXPECT_EQ(fs::current_path(), Start() / "1900");
}

}  // namespace
