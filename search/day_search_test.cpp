// The day-file search as the dialog runs it: result lines, their order, the year folder and the
// walk over all folders; and mirune-cli grep on top of it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "daydata/day_store.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "search/day_search.h"
#include "search/reg_exp_parser_error.h"
#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace search {
namespace {

namespace fs = std::filesystem;
using test_support::Sjis;

class DaySearchTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = fs::current_path(); }
  void TearDown() override { fs::current_path(saved_); }
  void Day(int year, int month, int day, const std::string& utf8) {
    fs::path folder = dir_.path() / "data" / std::to_string(year);
    fs::create_directories(folder);
    test_support::WriteBytes(folder / daydata::DayFileName(year, month, day), Sjis(utf8));
  }
  std::vector<std::string> Utf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines) out.push_back(cp932::ToUtf8(l));
    return out;
  }
  fs::path Data() { return dir_.path() / "data"; }
  test_support::TempDir dir_;
  fs::path saved_;
};

TEST_F(DaySearchTest, DaySearchResultLineLayout) {
  EXPECT_EQ(cp932::ToUtf8(DayResultLine("KVR19990105.dat", Sjis("会議"))),
            "1999/01/05   ：    会議");
  // A name without the day-file layout gives what its characters give, and never fails.
  EXPECT_EQ(cp932::ToUtf8(DayResultLine("a.dat", "x")), "at//   ：    x");
  EXPECT_EQ(cp932::ToUtf8(DayResultLine("", "")), "//   ：    ");
}

TEST_F(DaySearchTest, DaySearchOneYearSortedByDateThenText) {
  Day(1999, 1, 5, "会議\r\n予定なし\r\n打合せ 会議\r\n");
  Day(1999, 1, 3, "会議 会議\r\n");
  Day(1999, 12, 31, "締切\r\n");
  Day(2000, 1, 1, "会議\r\n");
  TGrep grep;
  grep.SetUseFuzzyCharDic(true);  // the search switches it off again
  std::vector<std::string> seen;
  std::vector<DaySearchProgress> progress;
  DaySearchResult r =
      SearchYearFolder(grep, Sjis("会議|締切"), Data(), 1999,
                       {.on_result = [&](const std::string& line) { seen.push_back(line); },
                        .on_progress = [&](const DaySearchProgress& p) { progress.push_back(p); },
                        .cancel = nullptr});
  EXPECT_FALSE(grep.UseFuzzyCharDic());
  EXPECT_EQ(r.files, 3);
  EXPECT_EQ(Utf8(r.lines), (std::vector<std::string>{
                               "1999/01/03   ：    会議 会議",
                               "1999/01/05   ：    会議",
                               "1999/01/05   ：    打合せ 会議",
                               "1999/12/31   ：    締切",
                           }));
  EXPECT_EQ(seen.size(), 4u);
  ASSERT_EQ(progress.size(), 3u);
  EXPECT_EQ(progress.back().folder, "1999");
  EXPECT_EQ(progress.back().files_done, 3);
  EXPECT_EQ(progress.front().files_total, 3);
  EXPECT_FALSE(r.cancelled);
  // The search works with directory handles and leaves the working directory alone.
  EXPECT_EQ(platform::CurrentDir(), saved_);
  // An empty pattern finds nothing; a faulty one throws before anything is searched.
  EXPECT_TRUE(SearchYearFolder(grep, "", Data(), 1999).lines.empty());
  EXPECT_THROW(SearchYearFolder(grep, "[", Data(), 1999), ERegExpParser);
}

TEST_F(DaySearchTest, DaySearchMissingYearSearchesTheDataFolderItself) {
  Day(2001, 2, 3, "x\r\n");
  test_support::WriteBytes(Data() / "KVR20990101.dat", "x here\r\n");
  TGrep grep;
  DaySearchResult r = SearchYearFolder(grep, "x", Data(), 1850);
  EXPECT_EQ(Utf8(r.lines), (std::vector<std::string>{"2099/01/01   ：    x here"}));
  EXPECT_EQ(platform::CurrentDir(), saved_);
  // No data folder at all: nothing is searched.
  EXPECT_EQ(SearchYearFolder(grep, "x", dir_.path() / "none", 2001).files, 0);
}

TEST_F(DaySearchTest, DaySearchAllFoldersSkipsNonPlainFolders) {
  Day(2001, 3, 1, "abc\r\n");
  Day(1998, 7, 7, "abc\r\n");
  Day(2005, 5, 5, "abc\r\n");
  fs::create_directories(Data() / "old" / "2003");
  test_support::WriteBytes(Data() / "old" / "2003" / "KVR20030303.dat", "abc\r\n");
  // A read-only folder (like one with another attribute) is skipped with all below it.
  fs::create_directories(Data() / "ro" / "2004");
  test_support::WriteBytes(Data() / "ro" / "2004" / "KVR20040404.dat", "abc\r\n");
  fs::permissions(Data() / "ro", fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directories(Data() / ".hidden");
  test_support::WriteBytes(Data() / ".hidden" / "KVR20060606.dat", "abc\r\n");
  fs::create_directory_symlink(Data() / "2001", Data() / "link");

  std::vector<fs::path> folders = CollectDataFolders(Data());
  EXPECT_EQ(folders.size(), 5u);  // 2001, 1998, 2005, old, old/2003
  TGrep grep;
  DaySearchResult r = SearchAllFolders(grep, "b", Data());
  fs::permissions(Data() / "ro", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Utf8(r.lines),
            (std::vector<std::string>{"1998/07/07   ：    abc", "2001/03/01   ：    abc",
                                      "2003/03/03   ：    abc", "2005/05/05   ：    abc"}));
}

// The batches of the printing search are the dialog's list exactly, also when folders hold
// days out of order, the same day twice or names with letters; day files in order go out one
// day at a time.
TEST_F(DaySearchTest, DaySearchBatchesAreTheListInOrder) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> files;  // path below the data folder, text
    size_t batches;
  };
  const std::vector<Case> cases = {
      {{{"1998/KVR19980707.dat", "abc z\r\nabc a\r\n"},
        {"2001/KVR20010301.dat", "abc\r\n"},
        {"2005/KVR20050505.dat", "x\r\nabc\r\n"}},
       3},
      {{{"2003/KVR20030303.dat", "abc z\r\nabc a\r\n"},
        {"old/2003/KVR20030303.dat", "abc m\r\n"},
        {"2004/KVR20040101.dat", "abc\r\n"}},
       1},
      {{{"1998/KVR20050505.dat", "abc 1\r\n"},
        {"2001/KVR20010101.dat", "abc 2\r\n"},
        {"2006/KVR20060101.dat", "abc 3\r\n"}},
       2},
      {{{"2001/KVRabcd0101.dat", "abc 1\r\n"},
        {"2001/KVR20010101.dat", "abc 2\r\n"},
        {"2001/KVRABCD0101.dat", "ABC 3\r\n"}},
       1},
  };
  for (const Case& c : cases) {
    fs::remove_all(Data());
    for (const auto& [path, text] : c.files) {
      fs::create_directories((Data() / path).parent_path());
      test_support::WriteBytes(Data() / path, text);
    }
    TGrep grep;
    std::vector<std::string> list = SearchAllFolders(grep, "abc|ABC", Data()).lines;
    std::vector<std::string> printed;
    size_t batches = 0;
    DaySearchSummary summary =
        SearchAllFolders(grep, "abc|ABC", Data(), [&](const DayResultLines& lines) {
          ++batches;
          for (size_t k = 0; k < lines.size(); ++k) printed.emplace_back(lines[k]);
        });
    EXPECT_EQ(printed, list) << c.files[0].first;
    EXPECT_EQ(summary.lines, list.size());
    EXPECT_EQ(batches, c.batches) << c.files[0].first;
  }
}

TEST_F(DaySearchTest, DaySearchCancelStopsTheWholeSearchWithinAFile) {
  for (int day = 1; day <= 3; ++day) Day(2001, 1, day, "abc\r\nabc 2\r\n");
  Day(2002, 1, 1, "abc\r\n");
  TGrep grep;
  std::atomic<bool> cancel{false};
  std::vector<DaySearchProgress> progress;
  DaySearchHooks hooks{.on_result = [&](const std::string&) { cancel = true; },
                       .on_progress = [&](const DaySearchProgress& p) { progress.push_back(p); },
                       .cancel = &cancel};
  DaySearchResult r = SearchAllFolders(grep, "abc", Data(), hooks);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(r.lines.size(), 1u);  // the second line of the first file is not reported
  EXPECT_EQ(r.files, 4);
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0].files_total, 4);
  EXPECT_EQ(grep.CancelRequest, nullptr);
  // A request made before the search starts searches nothing; cleared, all is found again.
  DaySearchHooks only_cancel;
  only_cancel.cancel = &cancel;
  EXPECT_TRUE(SearchYearFolder(grep, "abc", Data(), 2001, only_cancel).lines.empty());
  cancel = false;
  EXPECT_EQ(SearchAllFolders(grep, "abc", Data(), only_cancel).lines.size(), 7u);
}

// The batch form after a cancel hands over nothing more: what it held back is dropped, not
// sorted and sent (with files out of order that would be the whole search's lines).
TEST_F(DaySearchTest, DaySearchBatchesEndAtACancel) {
  struct Case {
    const char* what;
    std::vector<std::string> files;  // below the data folder, each with two matching lines
    size_t batches;                  // handed over before the cancel took effect
  } cases[] = {
      {"days in order: the first day's batch only",
       {"2001/KVR20010101.dat", "2001/KVR20010102.dat", "2001/KVR20010103.dat"},
       1},
      {"names with letters: held to the end, then dropped",
       {"2001/KVRabcd0101.dat", "2001/KVR20010101.dat", "2001/KVRABCD0101.dat"},
       0},
  };
  for (const Case& c : cases) {
    fs::remove_all(Data());
    for (const std::string& path : c.files) {
      fs::create_directories((Data() / path).parent_path());
      test_support::WriteBytes(Data() / path, "abc 1\r\nabc 2\r\n");
    }
    TGrep grep;
    std::atomic<bool> cancel{false};
    DaySearchHooks hooks;
    hooks.cancel = &cancel;
    hooks.on_progress = [&](const DaySearchProgress& p) { cancel = p.files_done >= 1; };
    size_t batches = 0, lines = 0;
    const DaySearchSummary summary = SearchYearFolder(
        grep, "abc", Data(), 2001,
        [&](const DayResultLines& batch) {
          ++batches;
          lines += batch.size();
        },
        hooks);
    EXPECT_TRUE(summary.cancelled) << c.what;
    EXPECT_EQ(batches, c.batches) << c.what;
    EXPECT_EQ(summary.lines, lines) << c.what;
    EXPECT_EQ(summary.files, 3) << c.what;
  }
}

TEST_F(DaySearchTest, DaySearchUnreadableFileIsSkipped) {
  Day(2010, 1, 1, "abc\r\n");
  Day(2010, 1, 2, "abc\r\n");
  fs::create_directory(Data() / "2010" / "dir.dat");  // found by "*.dat", cannot be read
  TGrep grep;
  DaySearchResult r = SearchYearFolder(grep, "abc", Data(), 2010);
  EXPECT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.files, 3);
}

test_support::CliResult Cli(const fs::path& dir, const std::string& args);

// Day files written by other programs: LF or lone CR line ends, bytes code page 932 does not
// decode, no final line end, and a day of 1 MB with its match at the end.
TEST_F(DaySearchTest, DaySearchFilesWrittenByOtherPrograms) {
  Day(2020, 2, 2, "");
  fs::path folder = Data() / "2020";
  test_support::WriteBytes(folder / "KVR20200201.dat", "one\ntwo meeting\nthree\rmeeting 3");
  test_support::WriteBytes(folder / "KVR20200203.dat", "bad \x80\xFF\xA0 meeting \x82");
  std::string big;
  while (big.size() < (1 << 20)) big += Sjis("予定なし\r\n");
  test_support::WriteBytes(folder / "KVR20200204.dat", big + "meeting at the end");
  TGrep grep;
  DaySearchResult r = SearchYearFolder(grep, "meeting", Data(), 2020);
  EXPECT_EQ(r.lines, (std::vector<std::string>{
                         "2020/02/01" + Sjis("   ：    ") + "meeting 3",
                         "2020/02/01" + Sjis("   ：    ") + "two meeting",
                         "2020/02/03" + Sjis("   ：    ") + "bad \x80\xFF\xA0 meeting \x82",
                         "2020/02/04" + Sjis("   ：    ") + "meeting at the end",
                     }));
  // Printed whole, the undecodable bytes as U+FFFD.
  test_support::CliResult cli = Cli(dir_.path(), "--data data grep --year 2020 'bad .* meeting'");
  EXPECT_EQ(cli.out, "2020/02/03   ：    " + cp932::ToUtf8("bad \x80\xFF\xA0 meeting \x82") + "\n");
  EXPECT_NE(cli.out.find("\xEF\xBF\xBD meeting \xEF\xBF\xBD"), std::string::npos);
}

TEST(DaySearchOrder, CaseAndDoubleByteAware) {
  EXPECT_TRUE(ResultLineLess("1999/01/05 a", "1999/01/05 B"));
  EXPECT_TRUE(ResultLineLess("1999/01/05", "1999/01/06"));
  EXPECT_FALSE(ResultLineLess("b", "A"));
  // The trail byte 0x61 ('a') of a double-byte character is not folded to 'A'.
  EXPECT_TRUE(ResultLineLess("\x81\x41", "\x81\x61"));
  // The quick way over long shared beginnings orders as the folded compare does.
  std::mt19937 random(5);
  const std::string bytes = "aAbB_ \x81\x82\x41\x61\x5F";
  for (int round = 0; round < 5000; ++round) {
    std::string a(random() % 24, 'x'), b = a;
    for (std::string* s : {&a, &b}) {
      for (size_t k = random() % 6; k > 0; --k) *s += bytes[random() % bytes.size()];
    }
    int order = cp932::CompareIgnoreAsciiCase(a, b);
    ASSERT_EQ(ResultLineLess(a, b), order < 0 || (order == 0 && a < b))
        << ::testing::PrintToString(a) << " " << ::testing::PrintToString(b);
  }
}

// The list's sort (by a number of each line's first bytes, the text where that cannot decide)
// orders as ResultLineLess: lines short and long, with letters, NULs and double-byte characters.
TEST(DaySearchOrder, ResultListSortsAsResultLineLess) {
  std::mt19937 random(11);
  const std::string bytes = std::string("aAbB_ \x81\x82\x41\x61\x5F\x9F\xFC", 13) + '\0';
  for (int round = 0; round < 300; ++round) {
    const std::string prefix(random() % 3, 'p');
    std::vector<std::string> texts;
    DayResultLines lines;
    for (size_t k = random() % 40; k > 0; --k) {
      std::string text(random() % 12, 'x');
      for (char& c : text) c = bytes[random() % bytes.size()];
      texts.push_back(prefix + text);
      lines.Add(prefix, text);
    }
    lines.SortFrom(0, prefix.size());
    std::sort(texts.begin(), texts.end(),
              [](const std::string& a, const std::string& b) { return ResultLineLess(a, b); });
    std::vector<std::string> sorted;
    for (size_t k = 0; k < lines.size(); ++k) sorted.emplace_back(lines[k]);
    ASSERT_EQ(sorted, texts);
  }
}

// mirune-cli grep, run as a user would.
using test_support::CliResult;

CliResult Cli(const fs::path& dir, const std::string& args) {
  return test_support::RunCli(dir, args);
}

TEST_F(DaySearchTest, DaySearchCliFilesAndFolders) {
  test_support::WriteBytes(dir_.path() / "a.txt", Sjis("一行目\r\n会議の予定\r\n打合せ\r\n"));
  test_support::WriteBytes(dir_.path() / "b.txt", "none\n");
  CliResult r = Cli(dir_.path(), "grep --files '会議|打合せ' a.txt b.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "a.txt:2:会議の予定\na.txt:3:打合せ\n");
  EXPECT_EQ(Cli(dir_.path(), "grep --files '^x$' a.txt").status, 1);
  r = Cli(dir_.path(), "grep --files '[z-a]' a.txt");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "mirune-cli: 不正なキャラクタ範囲です (位置 5)\n");
  EXPECT_EQ(Cli(dir_.path(), "grep --files x missing.txt").status, 2);
  // A pattern that begins with "-" comes after -e or after "--", as with grep.
  test_support::WriteBytes(dir_.path() / "c.txt", "<!-- note -->\n-x\n");
  for (const char* args : {"grep --files -e '-->' c.txt", "grep -e '-->' --files c.txt",
                           "grep --files -- '-->' c.txt"}) {
    r = Cli(dir_.path(), args);
    EXPECT_EQ(r.status, 0) << args;
    EXPECT_EQ(r.out, "c.txt:1:<!-- note -->\n") << args;
  }
  EXPECT_EQ(Cli(dir_.path(), "grep --files -- -x c.txt").out, "c.txt:2:-x\n");
  r = Cli(dir_.path(), "grep --files '-->' c.txt");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("-e パターン"), std::string::npos) << r.out;
  EXPECT_EQ(Cli(dir_.path(), "grep --files -e a -e b c.txt").status, 2);

  Day(1999, 1, 5, "会議\r\n");
  Day(2003, 2, 1, "会議室\r\n");
  r = Cli(dir_.path(), "--data data grep --year 1999 会議");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "1999/01/05   ：    会議\n");
  r = Cli(dir_.path(), "--data data grep --all 会議");
  EXPECT_EQ(r.out, "1999/01/05   ：    会議\n2003/02/01   ：    会議室\n");
  EXPECT_EQ(Cli(dir_.path(), "--data data grep --year 2003 締切").status, 1);
}

}  // namespace
}  // namespace search
