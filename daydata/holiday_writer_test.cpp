#include "daydata/holiday_writer.h"

#include <gtest/gtest.h>

#include <map>

#include "calendar/table_holiday_rules.h"
#include "daydata/day_store.h"
#include "platform/file_system.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

class HolidayWriterTest : public ::testing::Test {
 protected:
  HolidayWriterTest() : old_cwd_(fs::current_path()) {
    fs::create_directory(Data());
    fs::current_path(Data());
  }
  ~HolidayWriterTest() override { fs::current_path(old_cwd_); }
  fs::path Data() const { return dir_.path() / "data"; }
  // The grid draws every day of the month before the writer runs; that leaves the equinox
  // and second-Monday days behind.
  void Draw(int year, int month) {
    for (int d = 1; d <= 31; ++d) rules_.DrawDay(year, month, d);
  }
  int Write(int year, int month) {
    Draw(year, month);
    return daydata::WriteHolidays(rules_, year, month, Data());
  }
  std::map<std::string, std::string> Files(int year) const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(Data() / std::to_string(year))) {
      files[entry.path().filename().string()] = ReadBytes(entry.path());
    }
    return files;
  }

  test_support::TempDir dir_;
  fs::path old_cwd_;
  calendar::TableHolidayRules rules_;
};

TEST_F(HolidayWriterTest, MonthTargetsAndTwiceEqualsOnce) {
  EXPECT_EQ(Write(2026, 5), 3);
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260503.dat"), Sjis("憲法記念日\r\n"));
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260504.dat"), Sjis("国民の休日\r\n"));
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260505.dat"), Sjis("こどもの日\r\n"));
  // January from 2000 on: the second Monday (12 January 2026) as the grid left it.
  EXPECT_EQ(Write(2026, 1), 2);
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260112.dat"), Sjis("成人の日\r\n"));
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260101.dat"), Sjis("元旦\r\n"));
  const auto once = Files(2026);
  EXPECT_EQ(Write(2026, 1), 0);
  EXPECT_EQ(Write(2026, 5), 0);
  EXPECT_EQ(Files(2026), once);
  EXPECT_EQ(Write(2026, 6), 0);  // June has no holiday to write
  EXPECT_EQ(Files(2026), once);
  EXPECT_EQ(platform::CurrentDir(), Data());  // named by whole paths: the folder stays
}

TEST_F(HolidayWriterTest, ExistingTextAndColourLines) {
  fs::create_directory(Data() / "1999");
  WriteBytes(Data() / "1999" / "KVR19991103.dat", "3\r\nmeeting\r\n");
  WriteBytes(Data() / "1999" / "KVR19991123.dat", "a\r\nb\r\n" + Sjis("勤労感謝の日") + "\r\n");
  EXPECT_EQ(Write(1999, 11), 1);
  // The colour line stays first; the name goes below it and above the text.
  EXPECT_EQ(ReadBytes(Data() / "1999" / "KVR19991103.dat"),
            "3\r\n" + Sjis("文化の日") + "\r\nmeeting\r\n");
  EXPECT_EQ(ReadBytes(Data() / "1999" / "KVR19991123.dat"),
            "a\r\nb\r\n" + Sjis("勤労感謝の日") + "\r\n");
}

TEST_F(HolidayWriterTest, EquinoxesOnlyOnTheWritersDays) {
  // 1979: autumnal equinox on the 24th, which the writer leaves out; 敬老の日 stays.
  EXPECT_EQ(Write(1979, 9), 1);
  EXPECT_EQ(Files(1979).size(), 1u);
  EXPECT_TRUE(fs::exists(Data() / "1979" / "KVR19790915.dat"));
  EXPECT_EQ(Write(1999, 3), 1);
  EXPECT_EQ(ReadBytes(Data() / "1999" / "KVR19990321.dat"), Sjis("春分の日\r\n"));
  EXPECT_EQ(Write(1999, 10), 1);  // before 2000: 10 October
  EXPECT_EQ(ReadBytes(Data() / "1999" / "KVR19991010.dat"), Sjis("体育の日\r\n"));
}

TEST_F(HolidayWriterTest, YearFolderSteps) {
  // Whatever the working folder, the year is made in the data folder.
  fs::create_directory(Data() / "2025");
  fs::current_path(Data() / "2025");
  EXPECT_EQ(Write(2026, 2), 1);
  EXPECT_TRUE(fs::exists(Data() / "2026" / "KVR20260211.dat"));
  EXPECT_FALSE(fs::exists(Data() / "2025" / "2026"));
  // With no data folder the names are not scattered into the current folder.
  fs::current_path(dir_.path());
  EXPECT_THROW(daydata::WriteHolidays(rules_, 2027, 2, dir_.path() / "gone"),
               daydata::EYearFolderError);
  EXPECT_FALSE(fs::exists(dir_.path() / "KVR20270211.dat"));
  EXPECT_FALSE(fs::exists(dir_.path() / "2027"));
}

TEST_F(HolidayWriterTest, UnwritableDayFileStopsWithTheTargetsBeforeKept) {
  fs::create_directory(Data() / "2026");
  fs::create_directory(Data() / "2026" / "KVR20260504.dat");  // a folder in the file's place
  EXPECT_THROW(Write(2026, 5), daydata::EDayWriteError);
  EXPECT_EQ(ReadBytes(Data() / "2026" / "KVR20260503.dat"), Sjis("憲法記念日\r\n"));
  EXPECT_FALSE(fs::exists(Data() / "2026" / "KVR20260505.dat"));
}

}  // namespace
