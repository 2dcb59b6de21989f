// Runs the built mirune-cli as a user would, in a folder of the test's own.
#include <gtest/gtest.h>

#include <algorithm>

#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;

namespace {

class CliTest : public ::testing::Test {
 protected:
  // The data folder "d" exists, as a user's does; commands never make a missing one.
  CliTest() { fs::create_directory(dir_.path() / "d"); }
  test_support::CliResult Run(const std::string& args, const std::string& input = "") {
    return test_support::RunCli(dir_.path(), args, input);
  }
  test_support::TempDir dir_;
};

TEST_F(CliTest, DayWriteReadAndDelete) {
  EXPECT_EQ(Run("--data d day 2026-12-08 --write --colour 2", "会議\n打合せ\n").status, 0);
  fs::path file = dir_.path() / "d" / "2026" / "KVR20261208.dat";
  EXPECT_EQ(ReadBytes(file), "2\r\n" + Sjis("会議") + "\r\n" + Sjis("打合せ") + "\r\n");
  EXPECT_EQ(Run("--data d day 2026-12-08 --colour").out, "2\n会議\n打合せ\n");
  EXPECT_EQ(Run("--data d day 2026-12-08").out, "会議\n打合せ\n");
  // Without --colour a write keeps the day's colour.
  Run("--data d day 2026-12-08 --write", "x\n");
  EXPECT_EQ(ReadBytes(file), "2\r\nx\r\n");
  EXPECT_EQ(Run("--data d day 2026-12-08 --write", "").status, 0);
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(CliTest, StampAndConfig) {
  EXPECT_EQ(Run("--data d stamp 2026-01-01 元日").status, 0);
  EXPECT_EQ(Run("--data d stamp 2026-01-01 元日").status, 0);
  EXPECT_EQ(ReadBytes(dir_.path() / "d" / "2026" / "KVR20260101.dat"), Sjis("元日") + "\r\n");
  EXPECT_EQ(Run("config set フォルダ移動 Current_Dir 'C:\\App\\Myデータ'").status, 0);
  EXPECT_EQ(ReadBytes(dir_.path() / "v.ini"), "[" + Sjis("フォルダ移動") +
                                                  "]\r\nCurrent_Dir=\xA2"
                                                  "C:\\App\\" +
                                                  Sjis("Myデータ") + "\xA3\r\n");
  EXPECT_EQ(Run("config get フォルダ移動 current_dir").out, "C:\\App\\Myデータ\n");
}

TEST_F(CliTest, ConfigWritesEachKeyByItsType) {
  // A switch set from the command line is a number the month listing then reads.
  EXPECT_EQ(Run("--data d month 2026-12").out.substr(0, 40).find("("), std::string::npos);
  EXPECT_EQ(Run("config set 六曜表示 Rokuyou 1").status, 0);
  test_support::CliResult month = Run("--data d month 2026-12");
  EXPECT_EQ(month.out.substr(0, month.out.find('\n')),
            "L\t0\t2026-12-01\t 1 火\t (友引)\t\t0x00000000\t0x00000000\t");
  EXPECT_EQ(Run("config set 今日の表示色 todaycolor 0xC0FFFF").status, 0);
  EXPECT_EQ(Run("config set 格言ON/OFF Kakugen 1").status, 0);
  EXPECT_EQ(Run("config set 予定表タイトル taitolFont.Name 'ＭＳ 明朝'").status, 0);
  const std::string written = Sjis("[六曜表示]\r\nRokuyou=1\r\n[今日の表示色]\r\n") +
                              "todaycolor=12648447\r\n" + Sjis("[格言ON/OFF]\r\n") +
                              "Kakugen=1\r\n" + Sjis("[予定表タイトル]\r\n") +
                              "taitolFont.Name=\xA2" + Sjis("ＭＳ 明朝") + "\xA3\r\n";
  EXPECT_EQ(ReadBytes(dir_.path() / "v.ini"), written);
  EXPECT_EQ(Run("config get 今日の表示色 todayColor").out, "12648447\n");
  EXPECT_EQ(Run("config get 流れ文字表示 Speed").out, "400\n");  // the designed default
  // A value the key cannot hold exits 2 with one line and leaves the file alone.
  for (const char* args :
       {"六曜表示 Rokuyou 2", "六曜表示 Rokuyou 一", "入力終了キー InputKeyClose 5",
        "今日の表示色 todayColor 16777216", "格言ON/OFF Kakugen 2", "各曜日枠フォント daysFont 9",
        "流れ文字表示 Speed 12a"}) {
    test_support::CliResult r = Run(std::string("config set ") + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out.find("mirune-cli: "), 0u) << args;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << args;
  }
  EXPECT_EQ(ReadBytes(dir_.path() / "v.ini"), written);
  // A key of no window is written as a string, and the user is told.
  test_support::CliResult unknown = Run("config set 独自 Mine 1");
  EXPECT_EQ(unknown.status, 0);
  EXPECT_NE(unknown.out.find("文字列として書き込みます"), std::string::npos);
  EXPECT_EQ(ReadBytes(dir_.path() / "v.ini"),
            written + Sjis("[独自]\r\n") + "Mine=\xA2" + "1\xA3\r\n");
}

TEST_F(CliTest, DataFolderComesFromTheSettingsFile) {
  fs::create_directory(dir_.path() / "mine");
  Run("config set フォルダ移動 Current_Dir '" + (dir_.path() / "mine").string() + "'");
  Run("day 2025-03-03 --write", "x\n");
  EXPECT_TRUE(fs::exists(dir_.path() / "mine" / "2025" / "KVR20250303.dat"));
  // With no setting, the default folder of the start-up folder.
  fs::remove(dir_.path() / "v.ini");
  EXPECT_EQ(Run("day 2025-03-03").status, 2);
  EXPECT_FALSE(fs::exists(dir_.path() / "Myデータ"));  // reading makes nothing
  // Writing makes that one folder, as the program's first start does.
  EXPECT_EQ(Run("day 2025-03-03 --write", "x\n").status, 0);
  EXPECT_TRUE(fs::exists(dir_.path() / "Myデータ" / "2025" / "KVR20250303.dat"));
}

TEST_F(CliTest, MissingDataFolderIsAnErrorAndNothingIsMade) {
  for (const char* args :
       {"day 2026-12-08", "day 2026-12-08 --write", "stamp 2026-12-08 x", "month 2026-12", "grep x",
        "birthdays write 2026", "archive-year 2026 out.lzh"}) {
    test_support::CliResult r = Run(std::string("--data typo/deep ") + args, "x\n");
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.out.find("データフォルダがありません: " + (dir_.path() / "typo" / "deep").string()),
              std::string::npos)
        << args << ": " << r.out;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "typo"));
}

TEST_F(CliTest, ReadOnlyAndUnreadableFilesAreNeverReplaced) {
  const fs::path day = dir_.path() / "d" / "2026" / "KVR20261224.dat";
  const std::string kept = "1\r\n" + Sjis("大事な予定") + "\r\n";
  struct Case {
    const char* args;
    fs::path file;
  } cases[] = {
      {"--data d day 2026-12-24 --write", day},
      {"--data d stamp 2026-12-24 ラベル", day},
      {"config set 六曜表示 Rokuyou 1", dir_.path() / "v.ini"},
  };
  for (const Case& c : cases) {
    fs::create_directories(c.file.parent_path());
    test_support::WriteBytes(c.file, kept);
    fs::permissions(c.file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    test_support::CliResult r = Run(c.args, "new\n");
    EXPECT_EQ(r.status, 2) << c.args;
    EXPECT_NE(r.out.find("読み取り専用"), std::string::npos) << c.args << ": " << r.out;
    EXPECT_EQ(ReadBytes(c.file), kept) << c.args;
    fs::permissions(c.file, fs::perms::owner_write, fs::perm_options::add);
    fs::remove(c.file);
  }
  // Something at the day's name that cannot be read as a file: stamping it would replace it.
  fs::create_directories(day);
  test_support::CliResult r = Run("--data d stamp 2026-12-24 ラベル");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("読み込めない"), std::string::npos) << r.out;
  EXPECT_TRUE(fs::is_directory(day));
}

TEST_F(CliTest, MonthEscapesControlCharactersInTexts) {
  fs::create_directories(dir_.path() / "d" / "2001");
  test_support::WriteBytes(dir_.path() / "d" / "2001" / "KVR20010101.dat",
                           std::string("a\nb\tc\\d\x1B[2J") + std::string(1, '\0') + "e\r\n");
  test_support::CliResult r = Run("--data d month 2001-01");
  ASSERT_EQ(r.status, 0);
  const std::string first = r.out.substr(0, r.out.find('\n'));
  EXPECT_EQ(first.substr(first.rfind('\t') + 1), "a\\nb\\tc\\\\d\\x1B[2J\\x00e");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 32);
}

TEST_F(CliTest, BadInputExitsWithStatusTwo) {
  for (const char* args : {"day 2026-02-30", "day 2026-13-01", "day 26-1-1", "nosuch",
                           "day 2026-01-01 --write --colour 7", "stamp 2026-01-01"}) {
    test_support::CliResult r = Run(std::string("--data d ") + args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.out.find("mirune-cli: "), std::string::npos) << args;
  }
  test_support::CliResult r = Run("--data d day 2026-01-01 --write", "한국어\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_FALSE(fs::exists(dir_.path() / "d" / "2026" / "KVR20260101.dat"));
}

TEST_F(CliTest, MonthListsBothGridsAsTheWindowShowsThem) {
  test_support::WriteBytes(dir_.path() / "v.ini",
                           Sjis("[祝祭日表示]\r\nSyukucolor=1\r\n[祝祭日休]\r\nSyukukyucolor=1\r\n"
                                "[六曜表示]\r\nRokuyou=1\r\n"));
  fs::create_directories(dir_.path() / "d" / "2001");
  test_support::WriteBytes(dir_.path() / "d" / "2001" / "KVR20010108.dat",
                           "1\r\n" + Sjis("式典") + "\r\n\r\nx\r\n");
  test_support::CliResult r = Run("--data d month 2001-01");
  ASSERT_EQ(r.status, 0);
  std::vector<std::string> lines;
  for (size_t pos = 0, end; (end = r.out.find('\n', pos)) != std::string::npos; pos = end + 1) {
    lines.push_back(r.out.substr(pos, end - pos));
  }
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[7],
            "L\t7\t2001-01-08\t 8 月\t (先勝)\t成人の日\t0x000000FF\t0x000000FF\t式典 /  / x");
  EXPECT_EQ(lines[16 + 14], "R\t14\t2001-01-31\t31 水\t (友引)\t\t0x00000000\t0x00000000\t");
  EXPECT_EQ(lines[16 + 15], "R\t15\t\t\t\t\t\t0x00000000\t");
  r = Run("--data d month 2001-01 --half first");
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')),
            "L\t0\t2000-12-17\t17 日\t (友引)\t\t0x00000000\t0x00000000\t");
  EXPECT_EQ(Run("month 2001-13").status, 2);
  EXPECT_EQ(Run("month 2001-01 --half middle").status, 2);
}

TEST_F(CliTest, FailedWriteIsReported) {
  test_support::WriteBytes(dir_.path() / "d" / "2026", "a file where the year folder should be");
  test_support::CliResult r = Run("--data d day 2026-01-01 --write", "x\n");
  EXPECT_EQ(r.status, 2);
}

TEST_F(CliTest, ConfigRefusesImpossibleFontSizes) {
  for (const char* size : {"-5", "0", "5", "97"}) {
    test_support::CliResult r =
        Run(std::string("config set 予定表枠フォント yoteiFont.Size ") + size);
    EXPECT_EQ(r.status, 2) << size;
    EXPECT_NE(r.out.find("フォントの大きさは 6 から 96"), std::string::npos) << r.out;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "v.ini"));
  EXPECT_EQ(Run("config set 予定表枠フォント yoteiFont.Size 14").status, 0);
  EXPECT_EQ(Run("config get 予定表枠フォント yoteiFont.Size").out, "14\n");
}

TEST_F(CliTest, ArchiveRefusesWhatItCannotPackAndNamesIt) {
  fs::create_directories(dir_.path() / "D" / "2025");
  test_support::WriteBytes(dir_.path() / "a.dat", "a");
  for (const char* files : {"D/2025", "a.dat D/2025"}) {
    test_support::CliResult r = Run(std::string("lha u out.lzh ") + files);
    EXPECT_EQ(r.status, 2) << files;
    EXPECT_NE(r.out.find("フォルダは圧縮できません: D/2025"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(dir_.path() / "out.lzh")) << files;
  }
  EXPECT_EQ(Run("lha u out.lzh a.dat").status, 0);
  EXPECT_NE(Run("lha l out.lzh").out.find("a.dat"), std::string::npos);
}

TEST_F(CliTest, ArchiveNamesThatLookLikeTwoNamesOrASwitch) {
  // Unquoted, the library would have taken "old.zip", the word before the tab, or a switch.
  fs::create_directories(dir_.path() / "old.zip files");
  test_support::WriteBytes(dir_.path() / "a.dat", "a");
  for (const char* name : {"old.zip files/new.lzh", "-dash.lzh", "tab\tname.lzh", "backup"}) {
    const std::string quoted = "'" + std::string(name) + "'";
    test_support::CliResult r = Run("lha u " + quoted + " a.dat");
    EXPECT_EQ(r.status, 0) << name << ": " << r.out;
    EXPECT_TRUE(fs::is_regular_file(dir_.path() / name)) << name;
    EXPECT_NE(Run("lha l " + quoted).out.find("a.dat"), std::string::npos) << name;
  }
  EXPECT_FALSE(fs::exists(dir_.path() / "old.zip"));
  EXPECT_FALSE(fs::exists(dir_.path() / "tab"));
}

// sync runs in mirune-sync, which mirune-cli hands the command over to: the global options and
// the command's own arguments must arrive, and its messages and status come back as they are.
TEST_F(CliTest, SyncIsHandedOverWithItsArguments) {
  if (Run("--help").out.find(" sync ") == std::string::npos) GTEST_SKIP() << "built without sync";
  fs::create_directories(dir_.path() / "d");
  struct Case {
    std::string args;
    std::string message;
  };
  const Case cases[] = {
      {"sync", "同期するサーバーが設定されていません"},
      {"sync --bogus x", "不明な指定です: --bogus"},
      {"--data d sync --url http://127.0.0.1:9/ --user u --password-file missing.txt",
       "パスワードのファイルを読めません: missing.txt"},
      {"--data nowhere sync --url http://127.0.0.1:9/ --user u --password-file pw.txt",
       "データフォルダがありません"},
  };
  test_support::WriteBytes(dir_.path() / "pw.txt", "secret\n");
  for (const Case& c : cases) {
    test_support::CliResult result = Run(c.args);
    EXPECT_EQ(result.status, 2) << c.args;
    EXPECT_NE(result.out.find(c.message), std::string::npos) << c.args << "\n" << result.out;
  }
}

}  // namespace
