// The exit compression of a year folder: the backup rules, the message of each outcome, a
// failed or cancelled run that leaves archive and backup as they were, the day-file listing and
// extraction's replaced files, and the command-line form for cron.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/archive_listing.h"
#include "archive/year_archive.h"
#include "platform/cp932.h"
#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

using Outcome = YearArchiveResult::Outcome;
using test_support::ReadBytes;
using test_support::WriteBytes;

class YearArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(year());
    ASSERT_EQ(library_.Load(), ArchiverLibrary::LoadState::kLoaded);
  }
  fs::path data() const { return temp_.path() / "My data"; }
  fs::path year() const { return data() / "1999"; }
  void Day(int month, int day, const std::string& text) {
    char name[32];
    std::snprintf(name, sizeof name, "KVR1999%02d%02d.dat", month, day);
    WriteBytes(year() / name, cp932::FromUtf8(text));
  }
  // The members of an archive, extracted into a fresh folder.
  std::map<std::string, std::string> Members(const fs::path& archive) {
    fs::path out = temp_.path() / ("x" + std::to_string(++extractions_));
    fs::create_directories(out);
    fs::path old = fs::current_path();
    fs::current_path(out);
    std::string output;
    EXPECT_EQ(library_.Run("X -c1 \"" + archive.string() + "\"", &output, 4096), 0) << output;
    fs::current_path(old);
    std::map<std::string, std::string> files;
    for (auto& e : fs::directory_iterator(out)) {
      files[e.path().filename().string()] = ReadBytes(e.path());
    }
    return files;
  }

  test_support::TempDir temp_;
  ArchiverLibrary library_;
  int extractions_ = 0;
};

TEST_F(YearArchiveTest, BackupPathsAndDayFileNames) {
  struct Case {
    fs::path folder;
    ArchiveFormat format;
    fs::path backup;
  };
  const Case cases[] = {{"/d/My data/1999", ArchiveFormat::kLzh, "/d/My data/1999.LZH"},
                        {"/d/My data/1999/", ArchiveFormat::kLzh, "/d/My data/1999.LZH"},
                        {"/d/1999", ArchiveFormat::kZip, "/d/1999.ZIP"}};
  for (const Case& c : cases) EXPECT_EQ(BackupArchivePath(c.folder, c.format), c.backup);
  EXPECT_EQ(FormatOfArchiveName("a.ZiP"), ArchiveFormat::kZip);
  EXPECT_EQ(FormatOfArchiveName("zip"), ArchiveFormat::kLzh);

  Day(1, 2, "b");
  Day(1, 1, "a");
  WriteBytes(year() / "UPPER.DAT", "u");
  WriteBytes(year() / ".hidden.dat", "h");
  WriteBytes(year() / "note.txt", "n");
  fs::create_directories(year() / "folder.dat");
  EXPECT_EQ(DayFileNames(year()), (std::vector<std::string>{".hidden.dat", "KVR19990101.dat",
                                                            "KVR19990102.dat", "UPPER.DAT"}));
}

TEST_F(YearArchiveTest, FirstRunHasNoBackupSecondKeepsTheFirstArchive) {
  Day(1, 1, "元日");
  Day(12, 31, "大晦日");
  const fs::path archive = temp_.path() / "exit archive.lzh";
  YearArchiveResult first = CompressYearFolder(library_, year(), archive);
  ASSERT_EQ(first.outcome, Outcome::kCompressed) << first.reason;
  EXPECT_FALSE(first.backed_up);
  EXPECT_EQ(YearArchiveMessage(first),
            "新しいﾌｧｲﾙの圧縮はしましたが\n前回の圧縮ﾌｧｲﾙのﾊﾞｯｸｱｯﾌﾟはしていません.");
  const auto first_members = Members(archive);
  EXPECT_EQ(first_members.size(), 2u);
  const std::string first_bytes = ReadBytes(archive);

  // A day removed and one changed: the new archive holds today's files only.
  fs::remove(year() / "KVR19991231.dat");
  Day(1, 1, "元日（変更）");
  Day(5, 5, "こどもの日");
  YearArchiveResult second = CompressYearFolder(library_, year(), archive);
  ASSERT_EQ(second.outcome, Outcome::kCompressed) << second.reason;
  EXPECT_TRUE(second.backed_up);
  EXPECT_EQ(second.backup, data() / "1999.LZH");
  EXPECT_EQ(YearArchiveMessage(second), archive.string() + "に圧縮しました.\n前回の圧縮ﾌｧｲﾙを" +
                                            (data() / "1999.LZH").string() +
                                            "でﾊﾞｯｸｱｯﾌﾟを取ってあります.");
  EXPECT_EQ(ReadBytes(second.backup), first_bytes);
  EXPECT_EQ(Members(second.backup), first_members);
  auto now = Members(archive);
  EXPECT_EQ(now.size(), 2u);
  EXPECT_EQ(now["KVR19990101.dat"], cp932::FromUtf8("元日（変更）"));
  EXPECT_EQ(now.count("KVR19991231.dat"), 0u);
  // Nothing was left beside the archive.
  for (auto& e : fs::directory_iterator(temp_.path())) {
    EXPECT_EQ(e.path().filename().string().find(".mirune-new"), std::string::npos);
  }
}

TEST_F(YearArchiveTest, FailureCancelAndEmptyFolderLeaveArchiveAndBackup) {
  Day(3, 3, "ひな祭り");
  const fs::path archive = temp_.path() / "a.lzh";
  ASSERT_EQ(CompressYearFolder(library_, year(), archive).outcome, Outcome::kCompressed);
  ASSERT_EQ(CompressYearFolder(library_, year(), archive).outcome, Outcome::kCompressed);
  for (int d = 1; d <= 28; ++d) Day(2, d, std::string(200, 'x') + std::to_string(d));
  const std::string archive_before = ReadBytes(archive),
                    backup_before = ReadBytes(data() / "1999.LZH");

  struct Case {
    const char* what;
    std::function<YearArchiveResult()> run;
    Outcome outcome;
    const char* in_message;
  };
  const Case cases[] = {
      {"disk full",
       [&] {
         test_support::ScopedFileSizeLimit full(64);
         return CompressYearFolder(library_, year(), archive);
       },
       Outcome::kFailed, "書庫を書き込めません"},
      {"cancelled",
       [&] {
         return CompressYearFolder(library_, year(), archive,
                                   [](size_t done, size_t) { return done < 3; });
       },
       Outcome::kCancelled, "中止"},
      {"no day files", [&] { return CompressYearFolder(library_, data() / "2001", archive); },
       Outcome::kNoDayFiles, "データファイルがありません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    YearArchiveResult r = c.run();
    EXPECT_EQ(r.outcome, c.outcome);
    const std::string message = YearArchiveMessage(r);
    EXPECT_NE(message.find(c.in_message), std::string::npos) << message;
    EXPECT_EQ(message.find("に圧縮しました"), std::string::npos);
    EXPECT_EQ(ReadBytes(archive), archive_before);
    EXPECT_EQ(ReadBytes(data() / "1999.LZH"), backup_before);
  }
  for (auto& e : fs::directory_iterator(temp_.path())) {
    EXPECT_EQ(e.path().filename().string().find(".mirune-new"), std::string::npos);
  }
}

TEST(ArchiveListingTest, NamesAndFilesThatExtractionReplaces) {
  EXPECT_EQ(ListedNames("a.dat\t1\t1\t-lh0-\n?\t3\t3\t-lh5-\nsub/b c.dat\t2\t?\tdeflate\n\n"),
            (std::vector<std::string>{"a.dat", "sub/b c.dat"}));
  test_support::TempDir dir;
  fs::create_directories(dir.path() / "dest" / "sub");
  WriteBytes(dir.path() / "dest" / "a.dat", "old");
  WriteBytes(dir.path() / "dest" / "sub" / "b c.dat", "old");
  WriteBytes(dir.path() / "outside.dat", "keep");
  fs::create_symlink(dir.path() / "outside.dat", dir.path() / "dest" / "link.dat");
  fs::create_directories(dir.path() / "dest" / "folder.dat");
  const std::vector<std::string> names = {"a.dat",       "sub\\b c.dat", "../outside.dat",
                                          "/etc/passwd", "link.dat",     "folder.dat",
                                          "new.dat",     "a.dat"};
  EXPECT_EQ(FilesReplacedByExtraction(names, dir.path() / "dest"),
            (std::vector<fs::path>{dir.path() / "dest" / "a.dat",
                                   dir.path() / "dest" / "sub" / "b c.dat"}));
}

TEST(ArchiveYearCliTest, PacksTheYearFolderOfTheDataFolder) {
  const char* cli = std::getenv("MIRUNE_CLI");
  if (!cli) GTEST_SKIP() << "MIRUNE_CLI not set";
  test_support::TempDir dir;
  fs::create_directories(dir.path() / "data" / "2024");
  WriteBytes(dir.path() / "data" / "2024" / "KVR20240101.dat", "new year");
  const std::string archive = (dir.path() / "cron.lzh").string();
  struct Case {
    std::string args;
    int status;
    const char* in_output;
  };
  const Case cases[] = {
      {"--data data archive-year 2024 '" + archive + "'", 0, "ﾊﾞｯｸｱｯﾌﾟはしていません"},
      {"--data data archive-year 2024 '" + archive + "'", 0, "2024.LZH"},
      {"--data data archive-year 2023 '" + archive + "'", 1, "データファイルがありません"},
      {"--data data archive-year 20x4 '" + archive + "'", 2, "年は数字"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    test_support::CliResult r = test_support::RunCli(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.in_output), std::string::npos) << r.out;
  }
  EXPECT_TRUE(fs::exists(dir.path() / "data" / "2024.LZH"));
}

}  // namespace
}  // namespace archive
