#include "daydata/yearly_day_list.h"

#include <gtest/gtest.h>

#include "daydata/day_store.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace daydata {
namespace {

TEST(SpecialDayListTest, RecordsPadMonthAndDay) {
  EXPECT_EQ(BirthdayRecord(1970, "3", "5", Sjis("山田")), Sjis("1970/03/05/山田"));
  EXPECT_EQ(BirthdayRecord(1970, "12", "25", "a/b"), "1970/12/25/a/b");
  EXPECT_EQ(SpecialDayRecord("5", "3", Sjis("こどもの日")), Sjis("05/03/こどもの日"));
}

TEST(SpecialDayListTest, CutKeepsWholeCharacters) {
  struct Case {
    std::string text, cut;
  } cases[] = {
      {"abcdefghijklmnopqrstuvwxy", "abcdefghijklmnopqrst"},
      {Sjis("一二三四五六七八九十百千"), Sjis("一二三四五六七八九十")},
      // 21 bytes: cutting at 20 would keep the lead byte of the tenth character.
      {Sjis("a一二三四五六七八九十"), Sjis("a一二三四五六七八九")},
      {Sjis("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅ"), Sjis("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ")},
      {"short", "short"},
  };
  for (const Case& c : cases) EXPECT_EQ(CutToWholeCharacters(c.text, 20), c.cut) << c.text;
}

TEST(SpecialDayListTest, BirthdayStampByYear) {
  const std::string suffix = Sjis("の誕生日");
  struct Case {
    const char* record;
    int year;
    std::optional<SpecialStamp> stamp;
  } cases[] = {
      {"1970/03/05/山田", 2026, SpecialStamp{3, 5, Sjis("山田の誕生日(56歳)")}},
      {"1970/03/05/山田", 2027, SpecialStamp{3, 5, Sjis("山田の誕生日(57歳)")}},
      {"2026/03/05/山田", 2026, SpecialStamp{3, 5, Sjis("山田の誕生日(0歳)")}},
      // Not yet born: no label.
      {"2028/03/05/山田", 2026, std::nullopt},
      // 29 February: on the 28th in a common year, century years included.
      {"2000/02/29/閏", 2026, SpecialStamp{2, 28, Sjis("閏の誕生日(26歳)")}},
      {"2000/02/29/閏", 2028, SpecialStamp{2, 29, Sjis("閏の誕生日(28歳)")}},
      {"2000/02/29/閏", 2100, SpecialStamp{2, 28, Sjis("閏の誕生日(100歳)")}},
      {"1999/04/01/a/b", 2000, SpecialStamp{4, 1, Sjis("a/bの誕生日(1歳)")}},
      {"1970/03/05/一二三四五六七八九十百千", 2026,
       SpecialStamp{3, 5, Sjis("一二三四五六七八九十の誕生日(56歳)")}},
      {"1970/13/05/x", 2026, std::nullopt},
      {"1970/03/32/x", 2026, std::nullopt},
      {"1970/03/00/x", 2026, std::nullopt},
      // Days no year has would go into a file no grid shows.
      {"1970/02/30/x", 2026, std::nullopt},
      {"1970/04/31/x", 2026, std::nullopt},
      {"1970/3//05/x", 2026, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BirthdayStamp(Sjis(c.record), c.year, suffix), c.stamp) << c.record << c.year;
  }
  for (const char* bad : {"19x0/03/05/x", "1970/03/x5/x", "1970/03/5/x", ""}) {
    EXPECT_THROW(BirthdayStamp(bad, 2026, suffix), ESpecialRecordError) << bad;
  }
}

TEST(SpecialDayListTest, SpecialDayStampCutsTheSubject) {
  EXPECT_EQ(SpecialDayStamp(Sjis("05/03/こどもの日"), 2026),
            (SpecialStamp{5, 3, Sjis("こどもの日")}));
  EXPECT_EQ(SpecialDayStamp(Sjis("12/31/a一二三四五六七八九十"), 2026),
            (SpecialStamp{12, 31, Sjis("a一二三四五六七八九")}));
  EXPECT_EQ(SpecialDayStamp("02/29/x", 2028), (SpecialStamp{2, 29, "x"}));
  for (const char* none : {"00/01/x", "01/32/x", "02/30/x", "06/31/x", "02/29/x"})
    EXPECT_EQ(SpecialDayStamp(none, 2026), std::nullopt) << none;
  EXPECT_THROW(SpecialDayStamp("01/xx/x", 2026), ESpecialRecordError);
}

class SpecialDayListFileTest : public ::testing::Test {
 protected:
  fs::path Data() const { return dir_.path() / "data"; }
  fs::path Day(int year, const char* name) const { return Data() / std::to_string(year) / name; }
  test_support::TempDir dir_;
};

TEST_F(SpecialDayListFileTest, AddDeleteAndSort) {
  const fs::path file = SpecialListPath(dir_.path(), SpecialListKind::kBirthday);
  SpecialDayList list(SpecialListKind::kBirthday);
  EXPECT_FALSE(list.Load(file));
  for (const char* record : {"1990/07/01/b", "1970/03/05/A", "1980/01/02/c"}) {
    const std::string r = record;
    ASSERT_EQ(list.Check(false, "1", "2", "x", r), SpecialRefusal::kNone);
    list.Append(r);
  }
  // Refusals, in order: half-month display, an empty field, a record listed anywhere.
  EXPECT_EQ(list.Check(true, "", "", "", "1970/03/05/a"), SpecialRefusal::kHalfMonth);
  EXPECT_EQ(list.Check(false, "3", "", "a", "1970/03//a"), SpecialRefusal::kMissingField);
  for (auto [month, day] : {std::pair{"2", "30"}, {"4", "31"}, {"13", "1"}, {"x", "1"}, {"1", "0"}})
    EXPECT_EQ(list.Check(false, month, day, "a", "r"), SpecialRefusal::kImpossibleDate)
        << month << day;
  EXPECT_EQ(list.Check(false, "2", "29", "a", "r"), SpecialRefusal::kNone);
  EXPECT_EQ(list.Check(false, "3", "5", "a", "1970/03/05/a"), SpecialRefusal::kDuplicate);
  list.Save(file);
  // A new record goes to the end of the file; the box shows them sorted.
  EXPECT_EQ(ReadBytes(file), "1990/07/01/b\r\n1970/03/05/A\r\n1980/01/02/c\r\n");
  EXPECT_EQ(list.Sorted(),
            (std::vector<std::string>{"1970/03/05/A", "1980/01/02/c", "1990/07/01/b"}));
  // A delete writes the rest in the sorted order.
  EXPECT_TRUE(list.DeleteSorted(1));
  EXPECT_FALSE(list.DeleteSorted(2));
  list.Save(file);
  EXPECT_EQ(ReadBytes(file), "1970/03/05/A\r\n1990/07/01/b\r\n");
  // Hand-written lines: empty ones are no records; a file that cannot be read keeps the list.
  WriteBytes(file, "1970/03/05/A\r\n\r\n2000/01/01/z");
  EXPECT_TRUE(list.Load(file));
  EXPECT_EQ(list.Records(), (std::vector<std::string>{"1970/03/05/A", "2000/01/01/z"}));
  fs::remove(file);
  EXPECT_FALSE(list.Load(file));
  EXPECT_EQ(list.Records().size(), 2u);
}

TEST_F(SpecialDayListFileTest, WritingTwiceEqualsOnceAndTheNextYearIsOneOlder) {
  fs::create_directories(Data() / "2026");
  // A day with a colour line keeps it first.
  WriteBytes(Day(2026, "KVR20260305.dat"), "2\r\n" + Sjis("会議") + "\r\n");
  SpecialDayList list(SpecialListKind::kBirthday);
  list.Append(Sjis("1970/03/05/山田"));
  list.Append(Sjis("2027/06/01/未来"));
  const std::string suffix = BirthdaySuffixOf(0);
  EXPECT_EQ(StampSpecialList(list, 2026, Data(), suffix), 1);
  const std::string once = ReadBytes(Day(2026, "KVR20260305.dat"));
  EXPECT_EQ(once, "2\r\n" + Sjis("山田の誕生日(56歳)") + "\r\n" + Sjis("会議") + "\r\n");
  EXPECT_EQ(StampSpecialList(list, 2026, Data(), suffix), 0);
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), once);
  EXPECT_FALSE(fs::exists(Day(2026, "KVR20260601.dat")));
  // The next year's folder is made; this year's files keep their labels.
  EXPECT_EQ(StampSpecialList(list, 2027, Data(), suffix), 2);
  EXPECT_EQ(ReadBytes(Day(2027, "KVR20270305.dat")), Sjis("山田の誕生日(57歳)") + "\r\n");
  EXPECT_EQ(ReadBytes(Day(2027, "KVR20270601.dat")), Sjis("未来の誕生日(0歳)") + "\r\n");
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")), once);
  // Another suffix is another label beside the first.
  EXPECT_EQ(StampSpecialList(list, 2026, Data(), BirthdaySuffixOf(1)), 1);
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260305.dat")),
            "2\r\n" + Sjis("山田のBirthday(56歳)") + "\r\n" + once.substr(3));
}

TEST_F(SpecialDayListFileTest, SpecialDaysAndFailures) {
  SpecialDayList days(SpecialListKind::kSpecialDay);
  days.Append(Sjis("05/03/憲法記念日"));
  days.Append("01/xx/broken");
  days.Append("02/01/after");
  // No data folder: the year folder cannot be made and nothing is written.
  EXPECT_THROW(StampSpecialList(days, 2026, Data()), EDayWriteError);
  fs::create_directory(Data());
  // The broken record stops the write; the one before it stays written.
  EXPECT_THROW(StampSpecialList(days, 2026, Data()), ESpecialRecordError);
  EXPECT_EQ(ReadBytes(Day(2026, "KVR20260503.dat")), Sjis("憲法記念日") + "\r\n");
  EXPECT_FALSE(fs::exists(Day(2026, "KVR20260201.dat")));
  EXPECT_EQ(BirthdaySuffixOf(-1), "");
  EXPECT_EQ(BirthdaySuffixOf(2), "");
}

}  // namespace
}  // namespace daydata
