#include "daydata/day_store.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using daydata::ColourSource;
using daydata::DayStore;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

struct RecordingHost : daydata::DayStoreHost {
  std::vector<std::string> notices;
  fs::path recreated;
  void Notice(const std::string& text, const std::string& caption) override {
    notices.push_back(caption + "|" + text);
  }
  void DataDirRecreated(const fs::path& dir) override { recreated = dir; }
};

class DayStoreTest : public ::testing::Test {
 protected:
  DayStoreTest() : store_(dir_.path() / "data", dir_.path(), &host_) {
    fs::create_directory(dir_.path() / "data");
  }
  fs::path Day(int y, int m, int d) { return store_.DayFilePath(y, m, d); }

  test_support::TempDir dir_;
  RecordingHost host_;
  DayStore store_;
};

TEST(DayFileName, FixedLayout) {
  EXPECT_EQ(daydata::DayFileName(1999, 1, 5), "KVR19990105.dat");
  EXPECT_EQ(daydata::DayFileName("2026", 12, 31), "KVR20261231.dat");
  EXPECT_EQ(daydata::DayFileName(2023, 2, 29), "KVR20230229.dat");
}

TEST_F(DayStoreTest, EntryDialogColourLineRule) {
  struct Case {
    std::string bytes;
    std::string text;
    int colour;
    ColourSource source;
  } cases[] = {
      {"3\r\nabc\r\n", "abc\r\n", 3, ColourSource::kColourLine},
      {"03\r\nx\r\n", "x\r\n", 3, ColourSource::kColourLine},
      {" 2\r\nx\r\n", "x\r\n", 2, ColourSource::kColourLine},
      {"$4\r\n", "", 4, ColourSource::kColourLine},
      {"7\r\nx\r\n", "7\r\nx\r\n", 0, ColourSource::kOutOfRange},
      {"-1\r\nx\r\n", "-1\r\nx\r\n", 0, ColourSource::kOutOfRange},
      {"2 \r\nx\r\n", "2 \r\nx\r\n", 0, ColourSource::kFont},
      {"abc\nd\re\n\rf", "abc\r\nd\r\ne\r\n\r\nf\r\n", 0, ColourSource::kFont},
      {std::string("1\r\na\0b\r\n", 8), std::string("a\0b\r\n", 5), 1, ColourSource::kColourLine},
      {"", "", 0, ColourSource::kFont},
      {"3", "", 3, ColourSource::kColourLine},
      {"\r\n", "\r\n", 0, ColourSource::kFont},
      {"2\rx\r", "x\r\n", 2, ColourSource::kColourLine},
      {"1\r\r\n", "\r\n", 1, ColourSource::kColourLine},
      {"4\n\n\nz", "\r\n\r\nz\r\n", 4, ColourSource::kColourLine},
  };
  for (const Case& c : cases) {
    WriteBytes(dir_.path() / "d.dat", c.bytes);
    daydata::LoadedDay day = DayStore::LoadDay(dir_.path() / "d.dat");
    EXPECT_EQ(day.text, c.text) << c.bytes;
    EXPECT_EQ(day.colour, c.colour) << c.bytes;
    EXPECT_EQ(day.source, c.source) << c.bytes;
  }
  daydata::LoadedDay missing = DayStore::LoadDay(dir_.path() / "none.dat");
  EXPECT_EQ(missing.text, "");
  EXPECT_EQ(missing.source, ColourSource::kFont);
}

TEST_F(DayStoreTest, GridColourLineRuleIsStricter) {
  EXPECT_TRUE(daydata::IsGridColourLine("3"));
  EXPECT_TRUE(daydata::IsGridColourLine("0"));
  EXPECT_FALSE(daydata::IsGridColourLine("03"));
  EXPECT_FALSE(daydata::IsGridColourLine(" 2"));
  EXPECT_FALSE(daydata::IsGridColourLine("5"));
}

TEST_F(DayStoreTest, SaveWritesCrLfAndColourLine) {
  fs::path day = Day(1999, 1, 5);
  store_.SaveDay(day, "abc", "0");
  EXPECT_EQ(ReadBytes(day), "abc\r\n");
  store_.SaveDay(day, Sjis("会議\n打合せ"), "1");
  EXPECT_EQ(ReadBytes(day), "1\r\n" + Sjis("会議") + "\r\n" + Sjis("打合せ") + "\r\n");
  store_.SaveDay(day, "\r\n", "2");
  EXPECT_EQ(ReadBytes(day), "2\r\n\r\n");
  store_.SaveDay(day, "x", "9");  // not a colour code: no colour line
  EXPECT_EQ(ReadBytes(day), "x\r\n");
  // A black day whose first line reads as a colour line gets a "0" line on top, so that it
  // comes back black with every line; other first lines need none.
  struct {
    std::string text, code, bytes;
  } black[] = {
      {"3\r\nmeeting", "0", "0\r\n3\r\nmeeting\r\n"},
      {" 2", "0", "0\r\n 2\r\n"},
      {"$4\r\nx", "9", "0\r\n$4\r\nx\r\n"},
      {"0", "0", "0\r\n0\r\n"},
      {"7\r\nx", "0", "7\r\nx\r\n"},
      {"2 ", "0", "2 \r\n"},
  };
  for (const auto& c : black) {
    store_.SaveDay(day, c.text, c.code);
    EXPECT_EQ(ReadBytes(day), c.bytes) << c.text;
    daydata::LoadedDay loaded = DayStore::LoadDay(day);
    EXPECT_EQ(loaded.colour, 0) << c.text;
    EXPECT_EQ(loaded.text, std::string(DayStore::SplitEditorText(c.text).GetText())) << c.text;
  }
}

TEST_F(DayStoreTest, EmptyTextDeletesAndCreatesNothing) {
  fs::path day = Day(2001, 2, 3);
  store_.SaveDay(day, "", "1");
  EXPECT_FALSE(fs::exists(day.parent_path()));
  EXPECT_TRUE(host_.notices.empty());
  store_.SaveDay(day, "x", "1");
  ASSERT_TRUE(fs::exists(day));
  // A file holding only its colour line opens empty, and saving that deletes it.
  WriteBytes(day, "1\r\n");
  EXPECT_EQ(DayStore::LoadDay(day).text, "");
  store_.SaveDay(day, DayStore::LoadDay(day).text, "1");
  EXPECT_FALSE(fs::exists(day));
}

TEST_F(DayStoreTest, WindowsDayFileComesBackByteIdentical) {
  fs::path day = Day(1999, 1, 5);
  fs::create_directory(day.parent_path());
  const std::string windows = "2\r\n" + Sjis("会議 予定表") + "\r\n\r\n" + Sjis("ソフト①") + "\r\n";
  test_support::WriteBytes(day, windows);
  daydata::LoadedDay loaded = DayStore::LoadDay(day);
  store_.SaveDay(day, loaded.text, std::to_string(loaded.colour));
  EXPECT_EQ(ReadBytes(day), windows);
}

TEST_F(DayStoreTest, NulBytesAndWhatFollowsThemSurviveALoadAndAnUnchangedSave) {
  using namespace std::string_literals;
  const std::string files[] = {
      "a\0b\r\nafter\r\n"s,
      "3\r\n\0\r\n"s + Sjis("会議") + "\0\0\r\n"s,
      "\0\r\n"s,
      "x\r\n\0"s + Sjis("ソ") + "\r\n\r\n"s,
  };
  fs::path day = Day(2026, 5, 3);
  fs::create_directory(day.parent_path());
  for (const std::string& bytes : files) {
    WriteBytes(day, bytes);
    daydata::LoadedDay loaded = DayStore::LoadDay(day);
    store_.SaveDay(day, loaded.text, std::to_string(loaded.colour));
    EXPECT_EQ(ReadBytes(day), bytes) << testing::PrintToString(bytes);
  }
}

TEST_F(DayStoreTest, LfOnlyFileIsWrittenBackWithCrLf) {
  fs::path day = Day(2000, 1, 1);
  fs::create_directory(day.parent_path());
  WriteBytes(day, "a\nb\n");
  daydata::LoadedDay loaded = DayStore::LoadDay(day);
  store_.SaveDay(day, loaded.text, std::to_string(loaded.colour));
  EXPECT_EQ(ReadBytes(day), "a\r\nb\r\n");
}

TEST_F(DayStoreTest, EnsureYearFolderAnnouncesWhatItMakes) {
  store_.EnsureYearFolder("1999");
  ASSERT_EQ(host_.notices.size(), 1u);
  EXPECT_EQ(host_.notices[0], "現在フォルダ。|" + (dir_.path() / "data" / "1999").string());
  store_.EnsureYearFolder("1999");
  EXPECT_EQ(host_.notices.size(), 1u);
  // A vanished data folder is made anew under the start-up folder.
  fs::remove_all(dir_.path() / "data");
  fs::path day = Day(2002, 3, 4);
  store_.SaveDay(day, "x", "0");
  EXPECT_EQ(host_.notices[1], "注意。|データフォルダがありません。起動した場所に作成します。");
  EXPECT_EQ(host_.recreated, dir_.path() / "Myデータ");
  EXPECT_EQ(ReadBytes(dir_.path() / "Myデータ" / "2002" / "KVR20020304.dat"), "x\r\n");
}

// Which file each shown day comes from: the year folder while it exists, else the data folder
// itself; the entry dialog's ReadPath names the same file. The working folder plays no part.
TEST_F(DayStoreTest, ViewReadsYearFolderElseDataFolder) {
  const fs::path data = dir_.path() / "data";
  using Part = DayStore::ViewPart;
  struct Case {
    const char* what;
    std::vector<std::string> folders;                        // year folders to make
    std::vector<std::pair<std::string, std::string>> files;  // path below data, bytes
    std::vector<Part> parts;
    std::string year;                                // returned
    std::vector<std::pair<int, std::string>> shown;  // list index, its first line
    std::vector<std::string> read_paths;             // ReadPath of each part's first day
    std::string blocked = {};                        // below data: a folder in a file's place
  };
  const Case cases[] = {
      {"year folder present",
       {"2026"},
       {{"2026/KVR20260305.dat", "1\r\nin year\r\n"}},
       {{2026, 3, 1, 32}},
       "2026",
       {{5, "1"}, {6, ""}},
       {"2026/KVR20260301.dat"}},
      {"year folder missing",
       {},
       {{"KVR20260305.dat", "flat\r\n"}},
       {{2026, 3, 1, 32}},
       "2026",
       {{5, "flat"}},
       {"KVR20260301.dat"}},
      {"both present: the year folder's file, the other is not looked at",
       {"2026"},
       {{"2026/KVR20260305.dat", "year\r\n"},
        {"KVR20260305.dat", "flat\r\n"},
        {"KVR20260306.dat", "flat only\r\n"}},
       {{2026, 3, 1, 32}},
       "2026",
       {{5, "year"}, {6, ""}},
       {"2026/KVR20260301.dat"}},
      {"unreadable file: an empty row, its neighbours read",
       {"2026"},
       {{"2026/KVR20260304.dat", "before\r\n"}, {"2026/KVR20260306.dat", "after\r\n"}},
       {{2026, 3, 1, 32}},
       "2026",
       {{4, "before"}, {5, ""}, {6, "after"}},
       {"2026/KVR20260301.dat"},
       "2026/KVR20260305.dat"},
      {"second half of December: next year's first half has no folder",
       {"2026"},
       {{"KVR20270102.dat", "new year\r\n"},
        {"2026/KVR20261231.dat", "eve\r\n"},
        {"2026/KVR20270102.dat", "wrong year\r\n"}},
       {{2027, 1, 1, 16}, {2026, 12, 17, 32}},
       "2026",
       {{2, "new year"}, {31, "eve"}, {17, ""}},
       {"KVR20270101.dat", "2026/KVR20261217.dat"}},
      {"first half of January: the previous year is read last and returned",
       {"2026", "2027"},
       {{"2027/KVR20270116.dat", "16th\r\n"}, {"2026/KVR20261217.dat", "17th\r\n"}},
       {{2027, 1, 1, 16}, {2026, 12, 17, 32}},
       "2026",
       {{16, "16th"}, {17, "17th"}},
       {"2027/KVR20270101.dat", "2026/KVR20261217.dat"}},
  };
  const fs::path cwd = fs::current_path();
  std::array<daydata::TLightStrings, 33> lists;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(data);
    fs::create_directory(data);
    for (const std::string& year : c.folders) fs::create_directory(data / year);
    for (const auto& [path, bytes] : c.files) WriteBytes(data / path, bytes);
    // Left over from the case before: every list is cleared first.
    lists[1].Add("stale");
    if (!c.blocked.empty()) fs::create_directory(data / c.blocked);
    EXPECT_EQ(store_.LoadView(c.parts, lists), c.year);
    EXPECT_EQ(lists[1].Count(), 0);
    for (const auto& [index, first] : c.shown) {
      const daydata::TLightStrings& list = lists[static_cast<size_t>(index)];
      EXPECT_EQ(list.Count() > 0 ? list[0] : std::string(), first) << index;
    }
    for (size_t i = 0; i < c.parts.size(); ++i) {
      const Part& p = c.parts[i];
      EXPECT_EQ(store_.ReadPath(std::to_string(p.year),
                                daydata::DayFileName(p.year, p.month, p.first_day)),
                data / c.read_paths[i]);
    }
  }
  EXPECT_EQ(fs::current_path(), cwd);
  EXPECT_EQ(store_.LoadView({}, lists), "");
}

TEST_F(DayStoreTest, StampIsIdempotentAndKeepsColourLineFirst) {
  fs::path day = Day(2026, 1, 1);
  fs::create_directory(day.parent_path());
  std::string label = Sjis("元日");
  EXPECT_TRUE(DayStore::StampDay(day, label));
  EXPECT_EQ(ReadBytes(day), label + "\r\n");
  EXPECT_FALSE(DayStore::StampDay(day, label));
  EXPECT_EQ(ReadBytes(day), label + "\r\n");
  WriteBytes(day, "1\r\na\r\nb\r\n");
  DayStore::StampDay(day, label);
  EXPECT_EQ(ReadBytes(day), "1\r\n" + label + "\r\na\r\nb\r\n");
  EXPECT_EQ(DayStore::LoadDay(day).colour, 1);
  // A label standing on the third line leaves the file untouched.
  WriteBytes(day, "a\nz\r\nb\r\n" + label + "\r\n");
  EXPECT_FALSE(DayStore::StampDay(day, label));
  EXPECT_EQ(ReadBytes(day), "a\nz\r\nb\r\n" + label + "\r\n");
  // The label goes into the bytes as they are: LF-only text (one long line for the stamp
  // reader) and the text after a Ctrl+Z, which the entry dialog shows, stay byte for byte.
  struct {
    std::string before, after;
  } kept[] = {
      {"a\nb\n", "L\r\na\nb\n"},
      {"a\r\n\x1A"
       "after\r\n",
       "L\r\na\r\n\x1A"
       "after\r\n"},
      {"2\r\nx\x1A"
       "y",
       "2\r\nL\r\nx\x1A"
       "y"},
      {"3\x1A"
       "z",
       "3\r\nL\r\n\x1A"
       "z"},
      {"4", "4\r\nL\r\n"},
  };
  for (const auto& c : kept) {
    WriteBytes(day, c.before);
    EXPECT_TRUE(DayStore::StampDay(day, "L")) << c.before;
    EXPECT_EQ(ReadBytes(day), c.after) << c.before;
  }
  EXPECT_NE(DayStore::LoadDay(day).text.find("L\r\n"), std::string::npos);
}

TEST_F(DayStoreTest, FailedWriteRaisesAndKeepsOldDay) {
  fs::path day = Day(2026, 5, 5);
  store_.SaveDay(day, "old", "0");
  int status = test_support::RunWithFileSizeLimit(3, [&] {
    try {
      store_.SaveDay(day, "a much longer new text", "1");
    } catch (const daydata::EDayWriteError&) {
      return 7;
    }
    return 0;
  });
  EXPECT_EQ(status, 7);
  EXPECT_EQ(ReadBytes(day), "old\r\n");
}

// A child saves the same day over and over, alternating two texts, and is killed at random
// moments: the file must always hold one of the two texts whole.
TEST_F(DayStoreTest, KilledWhileSavingNeverLeavesAHalfWrittenDay) {
  fs::path day = Day(2026, 6, 1);
  const std::string a(3000, 'a');
  const std::string b = Sjis(std::string(20, 'b') + "会議の予定");
  store_.SaveDay(day, a, "0");
  const std::string file_a = a + "\r\n", file_b = "2\r\n" + b + "\r\n";
  std::mt19937 random(12345);
  for (int round = 0; round < 40; ++round) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      DayStore child(dir_.path() / "data", dir_.path());
      for (int i = 0;; ++i) child.SaveDay(day, i % 2 ? a : b, i % 2 ? "0" : "2");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::string now = ReadBytes(day);
    ASSERT_TRUE(now == file_a || now == file_b) << "round " << round << ": " << now.size();
  }
}

}  // namespace
