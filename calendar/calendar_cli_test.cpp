// The calendar commands of mirune-cli, run as a user would.
#include <gtest/gtest.h>
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
  for (const char* args : {"lunar 1975-12-31", "lunar 2076-01-01", "lunar 2000-01-01 2076-01-01",
                           "lunar 2000-02-30", "lunar 2000-01-02 2000-01-01", "lunar"}) {
    CliResult r = RunCli(args, false);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.out, "") << args;
  }
  EXPECT_NE(RunCli("lunar 1975-12-31").out.find("1976"), std::string::npos);
}

TEST(HolidayCli, MonthAsTheGridDrawsIt) {
  EXPECT_EQ(RunCli("holidays 2000 1").out, "2000-01-01\t元旦\n2000-01-10\t成人の日\n");
  // A substitute day off is drawn red without a name.
  EXPECT_EQ(RunCli("holidays 1999 3").out, "1999-03-21\t春分の日\n1999-03-22\t\n");
  EXPECT_EQ(RunCli("holidays 2012 9").out, "2012-09-15\t敬老の日\n2012-09-22\t秋分の日\n");
  EXPECT_EQ(RunCli("holidays 2013 9").out,
            "2013-09-15\t敬老の日\n2013-09-16\t\n2013-09-23\t秋分の日\n");
  EXPECT_EQ(RunCli("holidays 2000 6").out, "");
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
