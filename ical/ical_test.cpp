// The days as iCalendar and back: the mapping of one day, the round trip of a whole folder,
// files written the way other calendars write them, bad files, a second parser's reading of
// what we write, and the ics command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <random>

#include "daydata/day_files.h"
#include "ical/calendar_feed.h"
#include "ical/day_event.h"
#include "ical/day_export.h"
#include "ical/day_import.h"
#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

constexpr std::time_t kStamp = 1796800000;

ical::ReadOptions Tokyo() {
  ical::ReadOptions options;
  options.zone = "Asia/Tokyo";
  return options;
}

// Every day file under `dir`, by "YYYY-MM-DD", with its bytes.
std::map<std::string, std::string> Days(const fs::path& dir) {
  std::map<std::string, std::string> days;
  for (const daydata::DayFile& file : daydata::ListDayFiles(dir)) {
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", file.year, file.month, file.day);
    days[date] = ReadBytes(file.path);
  }
  return days;
}

ical::ImportResult Import(const std::string& ics, const fs::path& data, const fs::path& startup,
                          ical::ReadOptions options = Tokyo()) {
  ical::ImportPlan plan = ical::PlanImport(ical::ReadIcs(ics, options), data, startup);
  return ical::ApplyImport(plan, startup);
}

TEST(DayEventTest, ExactBytesWinOnlyWhileTheTextAgreesWithThem) {
  const std::string day = Sjis("3\r\n会議\r\n\r\n資料") + "\xFF\r\n";
  ical::DayEventFields fields = ical::FieldsOfDay(day);
  EXPECT_EQ(fields.summary, "会議");
  EXPECT_EQ(fields.description, "会議\n\n資料\xEF\xBF\xBD");
  EXPECT_EQ(fields.colour, 3);
  struct Case {
    const char* name;
    std::string summary, description, colour_name;
    bool exact;
    std::vector<std::string> lines;
    int colour;
  } cases[] = {
      {"untouched", fields.summary, fields.description, "green", true, {}, 0},
      {"description edited", fields.summary, "会議\n変更", "green", false, {"会議", "変更"}, 3},
      {"summary edited",
       "別件",
       fields.description,
       "green",
       false,
       {"会議", "", "資料\xEF\xBF\xBD"},
       3},
      {"colour changed",
       fields.summary,
       fields.description,
       "red",
       false,
       {"会議", "", "資料\xEF\xBF\xBD"},
       1},
      {"colour removed",
       fields.summary,
       fields.description,
       "",
       false,
       {"会議", "", "資料\xEF\xBF\xBD"},
       3},
  };
  for (const Case& c : cases) {
    ical::EventFields event{c.summary, c.description, fields.exact_base64, 3, c.colour_name};
    ical::DayOfEvent back = ical::DayFromEvent(event);
    EXPECT_EQ(back.exact, c.exact) << c.name;
    if (c.exact) {
      EXPECT_EQ(back.bytes, day) << c.name;
    } else {
      EXPECT_EQ(back.lines, c.lines) << c.name;
      EXPECT_EQ(back.colour, c.colour) << c.name;
    }
  }
  // Controls other than the tab are not iCalendar text, and a NUL would end libical's string.
  EXPECT_EQ(ical::FieldsOfDay(std::string("a\0b\tc\x1B", 6)).description,
            "a\xEF\xBF\xBD"
            "b\tc\xEF\xBF\xBD");
}

TEST(DayEventTest, Base64RoundTripAndRefusals) {
  std::mt19937 random(7);
  for (size_t size = 0; size < 40; ++size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    EXPECT_EQ(ical::Base64Decode(ical::Base64Encode(bytes)), bytes) << size;
  }
  EXPECT_EQ(ical::Base64Decode("YW Jj\r\n"), "abc");
  for (const char* bad : {"Y", "YW=J", "YW*j", "====", "YWJjZ==="})
    EXPECT_FALSE(ical::Base64Decode(bad)) << bad;
}

// A ten-year folder with what day files hold in the wild: colour lines, half-width kana, NEC
// and IBM extension characters, empty lines, bytes no code page decodes, LF and CR line ends,
// a NUL, a missing last line end and a 1 MB day.
TEST(IcsRoundTripTest, ExportThenImportGivesEveryDayBackByteForByte) {
  test_support::TempDir dir;
  const fs::path from = dir.path() / "from", to = dir.path() / "to";
  const std::string pieces[] = {
      Sjis("会議"), "\xB1\xB2\xB3", "\x87\x40\x87\x54",       "\xFA\x40\xFA\x55",
      "",           "\xFF\xFE",     std::string("nul\0x", 5), "a\xE0",
      "    "};
  const char* ends[] = {"\r\n", "\n", "\r"};
  std::mt19937 random(11);
  int written = 0;
  for (int year = 2020; year < 2030; ++year) {
    fs::create_directories(from / std::to_string(year));
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= 28; day += 1 + static_cast<int>(random() % 3)) {
        std::string bytes;
        if (random() % 3 == 0) bytes = std::to_string(random() % 5) + "\r\n";
        int lines = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < lines; ++i) {
          bytes += pieces[random() % std::size(pieces)] + pieces[random() % std::size(pieces)];
          if (i + 1 < lines || random() % 4) bytes += ends[random() % std::size(ends)];
        }
        if (bytes.empty()) bytes = "x";  // an empty file is no day
        char name[32];
        std::snprintf(name, sizeof name, "%d/KVR%d%02d%02d.dat", year, year, month, day);
        WriteBytes(from / name, bytes);
        ++written;
      }
    }
  }
  WriteBytes(from / "2024" / "KVR20240229.dat", Sjis("2\r\n同じ行\r\n同じ行\r\n"));
  WriteBytes(from / "2025" / "KVR20250630.dat", std::string(1 << 20, 'x') + "\r\n" + Sjis("終"));
  fs::create_directories(to);
  ical::ExportedDays exported = ical::ExportDays(from, 1, 9999, kStamp);
  EXPECT_GE(exported.days, written);
  ical::ImportResult result = Import(exported.text, to, dir.path());
  EXPECT_TRUE(result.failures.empty());
  std::map<std::string, std::string> back = Days(to), days = Days(from);
  EXPECT_EQ(back.size(), days.size());
  for (const auto& [date, bytes] : days) EXPECT_EQ(back[date], bytes) << date;
  // Twice is once.
  ical::ImportPlan again = ical::PlanImport(ical::ReadIcs(exported.text, Tokyo()), to, dir.path());
  EXPECT_TRUE(again.days.empty());
}

TEST(IcsRoundTripTest, AnEditMadeElsewhereWinsAndNothingLocalIsLost) {
  test_support::TempDir dir;
  const fs::path data = dir.path() / "d";
  WriteBytes(data / "2026" / "KVR20261209.dat", Sjis("2\r\n会議\r\n"));
  std::string ics = ical::ExportDays(data, 2026, 2026, kStamp).text;
  // A phone changed the text and kept the X- properties it does not know.
  size_t at = ics.find("DESCRIPTION:");
  ics.replace(at, ics.find("\r\n", at) - at, "DESCRIPTION:会議\\n場所: 本社");
  fs::remove_all(data);
  Import(ics, data, dir.path());
  EXPECT_EQ(ReadBytes(data / "2026" / "KVR20261209.dat"), Sjis("2\r\n会議\r\n場所: 本社\r\n"));
  // Into a day that has text of its own, only the missing lines are added.
  WriteBytes(data / "2026" / "KVR20261209.dat", Sjis("自分のメモ"));
  Import(ics, data, dir.path());
  EXPECT_EQ(ReadBytes(data / "2026" / "KVR20261209.dat"),
            Sjis("自分のメモ\r\n会議\r\n場所: 本社\r\n"));
}

TEST(IcsImportTest, EventsAsCommonCalendarsWriteThem) {
  test_support::TempDir dir;
  std::string ics = ReadBytes(fs::path(MIRUNE_ICAL_TESTDATA) / "phone.ics");
  ical::ReadOptions options = Tokyo();
  options.to = ical::DayDate{2030, 12, 31};
  ical::ImportResult result = Import(ics, dir.path() / "d", dir.path(), options);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_EQ(
      Days(dir.path() / "d"),
      (std::map<std::string, std::string>{
          {"2026-12-01", Sjis("09:00 朝会\r\n")},
          {"2026-12-07", Sjis("18:00 夕会\r\n")},
          {"2026-12-08", Sjis("09:00 朝会\r\n19:00 夕会（変更）\r\n")},
          {"2026-12-09", Sjis("10:00 NY会議\r\n10:30 UTC予定\r\n15:00 浮動\r\n18:00 夕会\r\n")},
          {"2026-12-10", Sjis("09:00 朝会\r\n折り返しの件名\r\n")},
          {"2026-12-24", Sjis("旅行\r\n")},
          {"2026-12-25", Sjis("旅行\r\n")},
          {"2026-12-26", Sjis("旅行\r\n")},
          {"2026-12-30", Sjis("23:00 夜勤\r\n")},
          {"2026-12-31", Sjis("夜勤\r\n")},
          {"2027-01-01", Sjis("元日\r\n")},
          {"2028-01-01", Sjis("元日\r\n")},
          {"2029-01-01", Sjis("元日\r\n")},
      }));
  EXPECT_EQ(ReadBytes(dir.path() / "ToDo.dat"), Sjis("12/25：年賀状\r\n"));
  // The same file again adds nothing, to the days or to the list.
  ical::ImportPlan again =
      ical::PlanImport(ical::ReadIcs(ics, options), dir.path() / "d", dir.path());
  EXPECT_TRUE(again.days.empty());
  EXPECT_TRUE(again.todos.empty());
  EXPECT_EQ(again.skipped.size(), 2u);  // the cancelled event and the finished to-do
}

TEST(IcsImportTest, CharactersCodePage932LacksAreListedBeforeAnythingIsWritten) {
  test_support::TempDir dir;
  std::string ics =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20261209\r\n"
      "SUMMARY:誕生会 \xF0\x9F\x8E\x82\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  ical::ImportPlan plan = ical::PlanImport(ical::ReadIcs(ics, Tokyo()), dir.path(), dir.path());
  EXPECT_EQ(plan.unrepresentable, U"\U0001F382");
  ASSERT_EQ(plan.days.size(), 1u);
  EXPECT_EQ(plan.days[0].after, Sjis("誕生会 ?\r\n"));
  EXPECT_FALSE(fs::exists(plan.days[0].path));
}

TEST(IcsImportTest, BadFilesGiveAMessageAndBoundedWork) {
  const std::string head = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\n";
  const std::string tail = "END:VCALENDAR\r\n";
  struct Case {
    const char* name;
    std::string text;
    const char* message;  // part of the message, or "" when the file is read
  } cases[] = {
      {"empty", "", "iCalendar ファイルではありません"},
      {"something else", "<html></html>", "iCalendar ファイルではありません"},
      {"UTF-16", std::string("B\0E\0G\0", 6), "UTF-8 ではない"},
      {"Shift-JIS", head + "BEGIN:VEVENT\r\nSUMMARY:\x89\xEF\x8B\x63\r\nEND:VEVENT\r\n" + tail,
       "UTF-8 ではない"},
      {"cut off", head + "BEGIN:VEVENT\r\nSUMMARY:x\r\n", "途中で切れています"},
      {"too large", head + std::string(ical::kMaxIcsBytes, ' ') + tail, "大きすぎます"},
      {"a million instances",
       head +
           "BEGIN:VEVENT\r\nUID:s\r\nDTSTART:20261209T000000Z\r\nRRULE:FREQ=HOURLY;COUNT="
           "1000000\r\n"
           "SUMMARY:x\r\nEND:VEVENT\r\n" +
           tail,
       "予定が多すぎます"},
      {"garbage lines",
       head + "BEGIN:VEVENT\r\n::::\r\nDTSTART;VALUE=DATE:2026xx09\r\nEND:VEVENT\r\n" + tail, ""},
  };
  ical::ReadOptions far = Tokyo();
  far.to = ical::DayDate{4000, 12, 31};
  for (const Case& c : cases) {
    try {
      ical::IcsContent content = ical::ReadIcs(c.text, far);
      EXPECT_STREQ(c.message, "") << c.name;
      EXPECT_TRUE(content.lines.empty()) << c.name;
    } catch (const ical::IcsError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.name << ": " << e.what();
      EXPECT_STRNE(c.message, "") << c.name;
    }
  }
  // Rules libical would search for hours are left out, and said so; impossible daily ones end.
  for (const char* rule : {"SECONDLY;BYMONTH=2;BYMONTHDAY=30", "MINUTELY",
                           "HOURLY;BYMONTHDAY=31;BYMONTH=4", "DAILY;BYMONTH=2;BYMONTHDAY=30"}) {
    ical::IcsContent content = ical::ReadIcs(
        head + "BEGIN:VEVENT\r\nUID:e\r\nDTSTART:20261209T000000Z\r\nRRULE:FREQ=" + rule +
            "\r\nSUMMARY:x\r\nEND:VEVENT\r\n" + tail,
        Tokyo());
    EXPECT_EQ(content.skipped.size(), std::string(rule).starts_with("DAILY") ? 0u : 1u) << rule;
  }
}

// What we write is read by a second parser (python3-icalendar) with the same events.
TEST(IcsInteropTest, AnIndependentParserReadsTheExportAndTheFeeds) {
  test_support::TempDir dir;
  WriteBytes(dir.path() / "d" / "2026" / "KVR20261209.dat",
             Sjis("2\r\n") + std::string(30, 'x') +
                 Sjis("会議の議題はとても長いのでいくつもの行に折り返されます") + "\xFF\r\n");
  WriteBytes(dir.path() / "d" / "2026" / "KVR20261210.dat", Sjis("a;b,c\\d\r\n"));
  WriteBytes(dir.path() / "days.ics", ical::ExportDays(dir.path() / "d", 1, 9999, kStamp).text);
  WriteBytes(dir.path() / "feed.ics", ical::CalendarFeed({true, true, true}, 2026, 2026, kStamp));
  const std::string script =
      "import sys, icalendar\n"
      "for name in sys.argv[1:]:\n"
      "  cal = icalendar.Calendar.from_ical(open(name, 'rb').read())\n"
      "  for e in cal.walk('VEVENT'):\n"
      "    print(e.decoded('dtstart').isoformat(), str(e.get('summary')), e.get('transp'), "
      "sep='|')\n";
  WriteBytes(dir.path() / "read.py", script);
  std::string command = "/usr/bin/python3 " + (dir.path() / "read.py").string() + " " +
                        (dir.path() / "days.ics").string() + " " +
                        (dir.path() / "feed.ics").string() + " > " +
                        (dir.path() / "out.txt").string() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir.path() / "out.txt");
  std::string out = ReadBytes(dir.path() / "out.txt");
  std::string long_line =
      std::string(30, 'x') + "会議の議題はとても長いのでいくつもの行に折り返されます\xEF\xBF\xBD";
  EXPECT_NE(out.find("2026-12-09|" + long_line + "|TRANSPARENT\n"), std::string::npos) << out;
  EXPECT_NE(out.find("2026-12-10|a;b,c\\d|TRANSPARENT\n"), std::string::npos);
  for (const char* expected : {"2026-01-01|元日|", "2026-09-22|休日|", "2026-05-06|休日|",
                               "2026-12-09|大安|", "2026-12-22|冬至|"}) {
    EXPECT_NE(out.find(expected), std::string::npos) << expected;
  }
  // One rokuyou a day, and 24 solar terms.
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2 + 365 + 24 + 18);
}

TEST(IcsCliTest, ExportImportAndFeedAsAScriptRunsThem) {
  test_support::TempDir dir;
  WriteBytes(dir.path() / "d" / "2026" / "KVR20261209.dat", Sjis("1\r\n会議\r\n"));
  fs::create_directories(dir.path() / "e");
  auto run = [&](const std::string& args) { return test_support::RunCli(dir.path(), args); };
  EXPECT_EQ(run("--data d ics export 2026 -o days.ics").status, 0);
  EXPECT_EQ(run("--data e ics import days.ics").status, 0);
  EXPECT_EQ(ReadBytes(dir.path() / "e" / "2026" / "KVR20261209.dat"), Sjis("1\r\n会議\r\n"));
  EXPECT_NE(run("ics feed --holidays 2026").out.find("SUMMARY:成人の日"), std::string::npos);
  struct Bad {
    const char* args;
    const char* message;
  } bad[] = {
      {"--data missing ics export", "データフォルダがありません"},
      {"--data d ics import nothing.ics", "ファイルが読めません"},
      {"--data d ics import d/2026/KVR20261209.dat", "iCalendar ファイルではありません"},
      {"ics feed 1800", "年は"},
      {"ics feed 2026 2025", "年は"},
      {"--data d ics import days.ics --from 2026-12-10 --to 2026-12-01", "より前です"},
      {"ics", "使い方"},
  };
  for (const Bad& b : bad) {
    test_support::CliResult result = run(b.args);
    EXPECT_EQ(result.status, 2) << b.args;
    EXPECT_NE(result.out.find(b.message), std::string::npos) << b.args << ": " << result.out;
  }
  // A character code page 932 lacks stops the import until the user agrees to "?".
  WriteBytes(dir.path() / "cake.ics",
             "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:c\r\nDTSTART;VALUE=DATE:20261224\r\n"
             "SUMMARY:\xF0\x9F\x8E\x82\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
  test_support::CliResult refused = run("--data e ics import cake.ics");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.out.find("U+1F382"), std::string::npos) << refused.out;
  EXPECT_FALSE(fs::exists(dir.path() / "e" / "2026" / "KVR20261224.dat"));
  EXPECT_EQ(run("--data e ics import cake.ics --replace-unsupported").status, 0);
  EXPECT_EQ(ReadBytes(dir.path() / "e" / "2026" / "KVR20261224.dat"), "?\r\n");
}

}  // namespace
