#include "daydata/light_strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/cp932.h"
#include "test_support/temp_dir.h"

using daydata::TLightStrings;

namespace {

std::vector<std::string> Items(const TLightStrings& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list[i]);
  return items;
}

std::vector<std::string> FileLines(const std::string& bytes) {
  test_support::TempDir dir;
  test_support::WriteBytes(dir.path() / "f.dat", bytes);
  TLightStrings list;
  list.LoadFromFile(dir.path() / "f.dat");
  EXPECT_EQ(list.Capacity(), list.Count());  // trimmed after reading
  return Items(list);
}

using Lines = std::vector<std::string>;

TEST(LightStrings, FileReaderEndsLinesOnlyAtCrAndStopsAtCtrlZ) {
  EXPECT_EQ(FileLines("a\r\nb"), Lines({"a", "b"}));
  EXPECT_EQ(FileLines("a\r\n"), Lines({"a"}));
  EXPECT_EQ(FileLines(""), Lines{});
  EXPECT_EQ(FileLines("a\nb"), Lines({"a\nb"}));
  EXPECT_EQ(FileLines("a\rb"), Lines({"a", "b"}));
  EXPECT_EQ(FileLines("ab\x1A"
                      "cd\r\nef"),
            Lines({"ab"}));
  EXPECT_EQ(FileLines("\r\n\r\n"), Lines({"", ""}));
  EXPECT_EQ(FileLines("a\r\r\nb\n\r"), Lines({"a", "", "b\n"}));
  std::string nul("x\0y\r\n", 5);
  EXPECT_EQ(FileLines(nul), Lines({std::string("x\0y", 3)}));
}

TEST(LightStrings, LongFileKeepsEveryLine) {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes += std::string(static_cast<size_t>(i % 300), 'x') + "\r\n";
  Lines lines = FileLines(bytes);
  ASSERT_EQ(lines.size(), 5000u);
  EXPECT_EQ(lines[4999].size(), 4999u % 300);
}

TEST(LightStrings, MissingFileRaisesAndLeavesListEmpty) {
  TLightStrings list;
  list.Add("old");
  EXPECT_THROW(list.LoadFromFile("/nonexistent/mirune/f.dat"), daydata::EInOutError);
  EXPECT_EQ(list.Count(), 0);
  list.Add("old");
  EXPECT_FALSE(list.TryLoadFromFile("/nonexistent/mirune/f.dat"));
  EXPECT_EQ(list.Count(), 0);
}

TEST(LightStrings, SetTextSplitsAtEveryLineEndAndNul) {
  TLightStrings list;
  list.SetText("");
  EXPECT_EQ(Items(list), Lines({""}));
  list.SetText("a\r\nb\nc\rd\n\re");
  EXPECT_EQ(Items(list), Lines({"a", "b", "c", "d", "", "e"}));
  list.SetText("a\r\n");
  EXPECT_EQ(Items(list), Lines({"a"}));
  list.SetText(std::string("a\r\nb\0c\r\nd", 9));
  EXPECT_EQ(Items(list), Lines({"a", "b"}));
  EXPECT_EQ(list.GetText(), "a\r\nb\r\n");
}

TEST(LightStrings, IndexRulesAndGrowth) {
  TLightStrings list;
  EXPECT_EQ(list.Add("a"), 0);
  EXPECT_EQ(list.Capacity(), 32);
  list.Insert(1, "c");  // at count: appends
  list.Insert(1, "b");
  EXPECT_EQ(Items(list), Lines({"a", "b", "c"}));
  try {
    list.Insert(4, "x");
    FAIL() << "no error";
  } catch (const daydata::EListError& e) {
    EXPECT_STREQ(e.what(), "インデックスがリストの範囲を超えています");
  }
  EXPECT_THROW(list.Delete(3), daydata::EListError);
  EXPECT_THROW(list.Get(-1), daydata::EListError);
  EXPECT_THROW(list.SetCapacity(2), daydata::EListError);
  EXPECT_THROW(list.SetCount(TLightStrings::kMaxCapacity), daydata::EListError);
  EXPECT_EQ(Items(list), Lines({"a", "b", "c"}));  // unchanged by the failures
  list.Delete(0);
  EXPECT_EQ(Items(list), Lines({"b", "c"}));
  EXPECT_EQ(list.IndexOf("c"), 1);
  list.SetCount(4);
  EXPECT_EQ(Items(list), Lines({"b", "c", "", ""}));
  list.SetCount(1);
  EXPECT_EQ(Items(list), Lines({"b"}));
  for (int i = 0; i < 40; ++i) list.Add("x");
  EXPECT_EQ(list.Capacity(), 64);
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(LightStrings, IndexOfMatchesCase) {
  TLightStrings list;
  list.Add("abc");
  EXPECT_EQ(list.IndexOf("ABC"), -1);
  EXPECT_EQ(list.IndexOf("abc"), 0);
}

TEST(LightStrings, CommaText) {
  TLightStrings list;
  list.Add("a b");
  list.Add("c");
  EXPECT_EQ(list.GetCommaText(), "\"a b\",c");
  list.Clear();
  list.Add("x,y");
  list.Add("q\"q");
  EXPECT_EQ(list.GetCommaText(), "\"x,y\",q\"q");
  list.SetCommaText("a,,b");
  EXPECT_EQ(Items(list), Lines({"a", "", "b"}));
  list.SetCommaText("a,");
  EXPECT_EQ(Items(list), Lines({"a"}));
  list.SetCommaText("\"a b\",c,\"d");
  EXPECT_EQ(Items(list), Lines({"a b", "c", "d"}));
  list.SetCommaText("x\"y\"z");
  EXPECT_EQ(Items(list), Lines({"x", "y", "z"}));
  list.SetCommaText("");
  EXPECT_EQ(list.Count(), 0);
}

TEST(LightStrings, StreamsAndFilesRoundTrip) {
  test_support::TempDir dir;
  TLightStrings list;
  list.Add(test_support::Sjis("会議"));
  list.Add("");
  list.SaveToFile(dir.path() / "out.dat");
  EXPECT_EQ(test_support::ReadBytes(dir.path() / "out.dat"),
            test_support::Sjis("会議") + "\r\n\r\n");
  std::istringstream in("skip|x\ny");
  in.ignore(5);
  list.LoadFromStream(in);
  EXPECT_EQ(Items(list), Lines({"x", "y"}));
  std::istringstream empty("");
  list.LoadFromStream(empty);
  EXPECT_EQ(list.Count(), 0);
  std::ostringstream out;
  list.Add("z");
  list.SaveToStream(out);
  EXPECT_EQ(out.str(), "z\r\n");
}

// The maxims file the program ships is read through the same list.
TEST(ShippedMaximsTest, EveryLineIsCodePage932Text) {
  daydata::TLightStrings lines;
  ASSERT_TRUE(
      lines.TryLoadFromFile(std::filesystem::path(MIRUNE_SOURCE_DIR) / "app" / "kakugen.txt"));
  EXPECT_GE(lines.Count(), 24);
  for (int i = 0; i < lines.Count(); ++i) {
    const std::u16string text = cp932::Decode(lines[i]);
    EXPECT_FALSE(text.empty()) << i;
    // Bytes that do not decode are carried as U+DC00 + byte.
    for (char16_t c : text) EXPECT_FALSE(c >= 0xDC00 && c <= 0xDCFF) << i;
    EXPECT_EQ(lines[i].find('\n'), std::string::npos) << "lines end in CR LF";
  }
}

}  // namespace
