#include "daydata/todo_list.h"

#include <gtest/gtest.h>

#include "daydata/day_store.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

TEST(ToDoOrder, IgnoresCaseAndSortsByTheDatePrefix) {
  std::vector<std::string> items = {Sjis("12/03：年賀状"), "b", "A", "a", Sjis("01/20：会議")};
  daydata::SortToDo(items);
  EXPECT_EQ(items,
            (std::vector<std::string>{Sjis("01/20：会議"), Sjis("12/03：年賀状"), "A", "a", "b"}));
  EXPECT_EQ(daydata::InsertToDo(items, "B"), 5u);  // after its equal "b"
  EXPECT_EQ(daydata::InsertToDo(items, Sjis("05/01：x")), 1u);
  // A trail byte is never folded: ア (83 41) and ヂ (83 61) stay apart.
  EXPECT_TRUE(daydata::ToDoLess("\x83\x41", "\x83\x61"));
  EXPECT_FALSE(daydata::ToDoLess("\x83\x61", "\x83\x41"));
}

TEST(ToDoEntry, MonthAndDayFromTheFileName) {
  EXPECT_EQ(daydata::ToDoEntry("KVR19990105.dat", Sjis("会議の準備")), Sjis("01/05：会議の準備"));
  EXPECT_EQ(daydata::ToDoEntry("KVR20261203.dat", ""), "");
  EXPECT_EQ(daydata::ToDoEntry("KVR20261203.dat", "a\r\nb"), Sjis("12/03：") + "a\r\nb");
}

TEST(ToDoFile, WriteReadAndFailures) {
  test_support::TempDir dir;
  const fs::path file = daydata::ToDoFilePath(dir.path());
  EXPECT_FALSE(daydata::ReadToDo(file).has_value());
  ASSERT_TRUE(daydata::WriteToDo(file, {Sjis("01/05：a\r\nb"), "c"}));
  EXPECT_EQ(ReadBytes(file), Sjis("01/05：a\r\nb\r\nc\r\n"));
  // Read back, a sent selection of two lines is two entries.
  EXPECT_EQ(*daydata::ReadToDo(file), (std::vector<std::string>{Sjis("01/05：a"), "b", "c"}));
  ASSERT_TRUE(daydata::WriteToDo(file, {}));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(ReadBytes(file), "");
  WriteBytes(dir.path() / "plain", "x");
  EXPECT_FALSE(daydata::WriteToDo(dir.path() / "plain" / "ToDo.dat", {"a"}));
}

TEST(MemoFile, SavedUnchangedAndDeletedWhenEmpty) {
  test_support::TempDir dir;
  const fs::path file = daydata::MemoFilePath(dir.path());
  EXPECT_EQ(file.filename().string(), "覚書.dat");
  daydata::SaveMemo(file, "line\r\nno end");
  EXPECT_EQ(*daydata::ReadMemo(file), "line\r\nno end");
  daydata::SaveMemo(file, "\r\n");
  EXPECT_EQ(ReadBytes(file), "\r\n");
  daydata::SaveMemo(file, "");
  EXPECT_FALSE(fs::exists(file));
  EXPECT_FALSE(daydata::ReadMemo(file).has_value());
  WriteBytes(dir.path() / "plain", "x");
  EXPECT_THROW(daydata::SaveMemo(dir.path() / "plain" / "m.dat", "a"), daydata::EDayWriteError);
}

}  // namespace
