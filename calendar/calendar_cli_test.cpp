// The calendar commands of mirune-cli, run as a user would.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace {

using test_support::CliResult;

CliResult RunCli(const std::string& args, bool with_errors = true) {
  static test_support::TempDir dir;
  return test_support::RunCli(dir.path(), args, "", with_errors);
}

TEST(LunarCli, OneLinePerDay) {
  CliResult r = RunCli("lunar 2000-02-04 2000-02-05");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "2000-02-04\t1999\t12\t29\t0\t仏滅\t立春\n"
            "2000-02-05\t2000\t1\t1\t0\t先勝\t\n");
  EXPECT_EQ(RunCli("lunar 2020-05-23").out, "2020-05-23\t2020\t4\t1\t1\t仏滅\t\n");
  // The range's ends are both inside; it runs across the year's end.
  r = RunCli("lunar 2075-12-31");
  EXPECT_EQ(r.out, "2075-12-31\t2075\t11\t24\t0\t仏滅\t\n");
  EXPECT_EQ(RunCli("lunar 1999-12-30 2000-01-02").out.size(),
            RunCli("lunar 1999-12-30 1999-12-31").out.size() * 2);
}

TEST(LunarCli, RefusesDatesOutsideTheRange) {
  for (const char* args :
       {"lunar 1975-12-31 --method series", "lunar 2076-01-01 --method series",
        "lunar 2000-01-01 2076-01-01 --method series", "lunar 1900-12-31", "lunar 2100-01-01",
        "lunar 2000-02-30", "lunar 2000-01-02 2000-01-01", "lunar", "lunar 2000-01-01 --method",
        "lunar 2000-01-01 --method exact"}) {
    CliResult r = RunCli(args, false);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
  }
  // One line that names the method's years.
  EXPECT_EQ(RunCli("lunar 1975-12-31 --method series").out,
            "mirune-cli: 旧暦は 1976 年から 2075 年までです: 1975-12-31\n");
  EXPECT_EQ(RunCli("lunar 2100-01-01").out,
            "mirune-cli: 旧暦は 1901 年から 2099 年までです: 2100-01-01\n");
  EXPECT_EQ(RunCli("lunar 1901-01-01 --method accurate").status, 0);
}

// Where the short series and the ephemeris part: the 2033 problem and a new moon just before
// midnight.
TEST(LunarCli, AccurateByDefault) {
  EXPECT_EQ(RunCli("lunar 2033-12-22").out, "2033-12-22\t2033\t11\t1\t1\t大安\t\n");
  EXPECT_EQ(RunCli("lunar 2033-08-25").out, "2033-08-25\t2033\t8\t1\t0\t友引\t\n");
  EXPECT_EQ(RunCli("lunar 2033-08-25 --method series").out, "2033-08-25\t2033\t7\t1\t1\t先勝\t\n");
  EXPECT_EQ(RunCli("lunar 2021-02-03").out, "2021-02-03\t2020\t12\t22\t0\t先負\t立春\n");
}

TEST(HolidayCli, MonthAsTheGridDrawsIt) {
  EXPECT_EQ(RunCli("holidays 2000 1 --rules table").out,
            "2000-01-01\t元旦\n2000-01-10\t成人の日\n");
  // A substitute day off of the table is drawn red without a name.
  EXPECT_EQ(RunCli("holidays 1999 3 --rules table").out, "1999-03-21\t春分の日\n1999-03-22\t\n");
  EXPECT_EQ(RunCli("holidays --rules table 2013 9").out,
            "2013-09-15\t敬老の日\n2013-09-16\t\n2013-09-23\t秋分の日\n");
  EXPECT_EQ(RunCli("holidays 2000 6").out, "");
  // The law by default: its days off are named "休日".
  EXPECT_EQ(RunCli("holidays 1999 3").out, "1999-03-21\t春分の日\n1999-03-22\t休日\n");
  EXPECT_EQ(RunCli("holidays 2013 9 --rules law").out,
            "2013-09-16\t敬老の日\n2013-09-23\t秋分の日\n");
  for (const char* args : {"holidays 2000 --rules", "holidays 2000 --rules cabinet"}) {
    EXPECT_EQ(RunCli(args, false).status, 2) << args;
  }
}

TEST(HolidayCli, The2026ListAndTheMovedDays) {
  EXPECT_EQ(RunCli("holidays 2026").out,
            "2026-01-01\t元日\n2026-01-12\t成人の日\n2026-02-11\t建国記念の日\n"
            "2026-02-23\t天皇誕生日\n2026-03-20\t春分の日\n2026-04-29\t昭和の日\n"
            "2026-05-03\t憲法記念日\n2026-05-04\tみどりの日\n2026-05-05\tこどもの日\n"
            "2026-05-06\t休日\n2026-07-20\t海の日\n2026-08-11\t山の日\n"
            "2026-09-21\t敬老の日\n2026-09-22\t休日\n2026-09-23\t秋分の日\n"
            "2026-10-12\tスポーツの日\n2026-11-03\t文化の日\n2026-11-23\t勤労感謝の日\n");
  // The ten days of Golden Week 2019, and the days the Games moved.
  EXPECT_EQ(RunCli("holidays 2019 4").out, "2019-04-29\t昭和の日\n2019-04-30\t休日\n");
  EXPECT_EQ(RunCli("holidays 2019 5").out,
            "2019-05-01\t休日（祝日扱い）\n2019-05-02\t休日\n2019-05-03\t憲法記念日\n"
            "2019-05-04\tみどりの日\n2019-05-05\tこどもの日\n2019-05-06\t休日\n");
  EXPECT_EQ(RunCli("holidays 2020 7").out, "2020-07-23\t海の日\n2020-07-24\tスポーツの日\n");
  EXPECT_EQ(RunCli("holidays 2021 8").out, "2021-08-08\t山の日\n2021-08-09\t休日\n");
}

// The output of the table and of the series, kept from before the law and the accurate method
// became the defaults, byte for byte.
TEST(CalendarCli, TableAndSeriesAsBefore) {
  std::ifstream file(MIRUNE_CALENDAR_TESTDATA "/cli_before_law.txt", std::ios::binary);
  ASSERT_TRUE(file);
  std::string line, command, expected;
  int blocks = 0;
  auto check = [&] {
    if (command.empty()) return;
    ++blocks;
    std::string option = command.starts_with("holidays") ? " --rules table" : " --method series";
    EXPECT_EQ(RunCli(command + option).out, expected) << command;
  };
  while (std::getline(file, line)) {
    if (line.starts_with("#")) continue;
    if (line.starts_with("$ ")) {
      check();
      command = line.substr(2);
      expected.clear();
    } else {
      expected += line + "\n";
    }
  }
  check();
  EXPECT_EQ(blocks, 15);
}

TEST(HolidayCli, YearIsItsTwelveMonths) {
  for (int year : {1900, 1999, 2033, 2099}) {
    std::string months;
    for (int m = 1; m <= 12; ++m) {
      months += RunCli("holidays " + std::to_string(year) + " " + std::to_string(m)).out;
    }
    CliResult whole = RunCli("holidays " + std::to_string(year));
    EXPECT_EQ(whole.status, 0);
    EXPECT_EQ(whole.out, months) << year;
  }
  EXPECT_EQ(RunCli("holidays 1899", false).status, 2);
  EXPECT_EQ(RunCli("holidays 2100", false).status, 2);
  EXPECT_EQ(RunCli("holidays 2000 13", false).status, 2);
  EXPECT_EQ(RunCli("holidays 20x0", false).status, 2);
}

TEST(CalendarMathCli, DayNumberAndWeekday) {
  EXPECT_EQ(RunCli("jdn 2000-01-01").out, "2451545\t7\n");
  EXPECT_EQ(RunCli("jdn 1582-10-15").out, "2299161\t6\n");
  EXPECT_EQ(RunCli("jdn 1582-10-04").out, "2299160\t5\n");
  EXPECT_EQ(RunCli("jdn 1500-02-29").status, 0);  // a Julian leap day
  CliResult gap = RunCli("jdn 1582-10-05");
  EXPECT_EQ(gap.status, 2);
  EXPECT_NE(gap.out.find("1582/10/5-10/14は存在しません。"), std::string::npos);
  EXPECT_EQ(RunCli("jdn 2001-02-29", false).status, 2);
}

}  // namespace
