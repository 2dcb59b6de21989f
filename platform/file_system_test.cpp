#include "platform/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::vector<platform::FoundFile>& found) {
  std::vector<std::string> names;
  for (const auto& f : found) names.push_back(f.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FileSystem, WildcardsIgnoreCaseAndStarDotStarMatchesAll) {
  EXPECT_TRUE(platform::MatchesWildcard("KVR19990105.dat", "*.DAT"));
  EXPECT_TRUE(platform::MatchesWildcard("noext", "*.*"));
  EXPECT_TRUE(platform::MatchesWildcard("a.b.c", "a*c"));
  EXPECT_TRUE(platform::MatchesWildcard("abc", "a?c"));
  EXPECT_FALSE(platform::MatchesWildcard("abcd", "a?c"));
  EXPECT_FALSE(platform::MatchesWildcard("x.dat.bak", "*.dat"));
}

TEST(FileSystem, FindFilesMapsAttributes) {
  test_support::TempDir dir;
  fs::create_directory(dir.path() / "1999");
  fs::create_directory(dir.path() / ".hidden");
  fs::create_directory(dir.path() / "locked");
  fs::permissions(dir.path() / "locked", fs::perms::owner_write, fs::perm_options::remove);
  test_support::WriteBytes(dir.path() / "a.dat", "x");
  auto plain = platform::FindFiles(dir.path(), "*.*", 0);
  EXPECT_EQ(Names(plain), std::vector<std::string>({"a.dat"}));
  auto dirs = platform::FindFiles(dir.path(), "*.*", platform::kAttrDirectory);
  EXPECT_EQ(Names(dirs), std::vector<std::string>({".", "..", "1999", "a.dat", "locked"}));
  for (const auto& f : dirs) {
    if (f.name == "locked") {
      EXPECT_EQ(f.attributes, platform::kAttrDirectory | platform::kAttrReadOnly);
    }
    if (f.name == "1999") {
      EXPECT_EQ(f.attributes, unsigned(platform::kAttrDirectory));
    }
  }
  auto hidden =
      platform::FindFiles(dir.path(), "*", platform::kAttrDirectory | platform::kAttrHidden);
  EXPECT_NE(std::find(Names(hidden).begin(), Names(hidden).end(), ".hidden"), Names(hidden).end());
  fs::permissions(dir.path() / "locked", fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(platform::FindFiles(dir.path() / "missing", "*", 0).empty());
}

TEST(FileSystem, PlainSubdirectoriesSkipSpecialTreesNeverLoopAndStopAtTheLimit) {
  test_support::TempDir dir;
  const fs::path root = dir.path();
  fs::create_directories(root / "a" / "b" / "c");
  fs::create_directories(root / ".hidden" / "inner");
  fs::create_directories(root / "locked" / "inner");
  fs::permissions(root / "locked", fs::perms::owner_write, fs::perm_options::remove);
  fs::create_directory_symlink(root, root / "a" / "loop");
  std::vector<fs::path> all = platform::PlainSubdirectories(root);
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, std::vector<fs::path>({root / "a", root / "a" / "b", root / "a" / "b" / "c"}));
  EXPECT_EQ(platform::PlainSubdirectories(root, 2).size(), 2u);
  fs::permissions(root / "locked", fs::perms::owner_write, fs::perm_options::add);
}

TEST(FileSystem, PlainSubdirectoriesOfSeveralYearFolders) {
  // Siblings at every level: the walk goes on from a folder after the list has grown.
  test_support::TempDir dir;
  std::vector<fs::path> expected;
  for (const char* year : {"2024", "2025", "2026"}) {
    expected.push_back(dir.path() / year);
    for (const char* sub : {"a", "b", "c"}) {
      fs::create_directories(dir.path() / year / sub);
      expected.push_back(dir.path() / year / sub);
    }
  }
  std::vector<fs::path> all = platform::PlainSubdirectories(dir.path());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, expected);
}

TEST(FileSystem, ReplaceFileKeepsOldFileOnFailure) {
  test_support::TempDir dir;
  fs::path file = dir.path() / "day.dat";
  std::error_code error;
  ASSERT_TRUE(platform::ReplaceFile(file, "old", error));
  // A write that runs out of room half way must leave the old file and no temporary behind.
  int status = test_support::RunWithFileSizeLimit(4, [&] {
    std::error_code child_error;
    return platform::ReplaceFile(file, "a longer new text", child_error) ? 0 : 1;
  });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(test_support::ReadBytes(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_FALSE(platform::ReplaceFile(dir.path() / "no" / "such" / "x", "y", error));
  EXPECT_TRUE(error);
}

TEST(FileSystem, ReplaceFileRefusesReadOnlyAndSweepsOldTemporaries) {
  test_support::TempDir dir;
  const fs::path file = dir.path() / "KVR20261224.dat";
  test_support::WriteBytes(file, "kept");
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
  std::error_code error;
  EXPECT_FALSE(platform::ReplaceFile(file, "new", error));
  EXPECT_EQ(error, std::errc::permission_denied);
  EXPECT_EQ(test_support::ReadBytes(file), "kept");
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);

  // Leftovers of killed writes go once they are a minute old; anything else stays.
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  struct Entry {
    const char* name;
    bool old, stays;
  } entries[] = {
      {".KVR20261223.dat.tmp4242_0", true, false},
      {".vuruva.ini.tmp17_3", true, false},
      {".KVR20261222.dat.tmp4243_1", false, true},
      {"KVR20261221.dat.tmp1_1", true, true},
      {".notes.tmp", true, true},
      {".x.tmp12_", true, true},
  };
  for (const Entry& e : entries) {
    test_support::WriteBytes(dir.path() / e.name, "x");
    if (e.old) fs::last_write_time(dir.path() / e.name, old);
  }
  ASSERT_TRUE(platform::ReplaceFile(file, "new", error));
  for (const Entry& e : entries) EXPECT_EQ(fs::exists(dir.path() / e.name), e.stays) << e.name;
}

}  // namespace
