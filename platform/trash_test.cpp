#include "platform/trash.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::WriteBytes;

namespace {

class TrashTest : public ::testing::Test {
 protected:
  TrashTest() {
    const char* old = std::getenv("XDG_DATA_HOME");
    if (old) old_data_home_ = old;
    fs::create_directories(Data());
  }
  ~TrashTest() override {
    if (old_data_home_)
      setenv("XDG_DATA_HOME", old_data_home_->c_str(), 1);
    else
      unsetenv("XDG_DATA_HOME");
  }
  fs::path Data() const { return dir_.path() / "Myデータ" / "2026"; }
  int EntriesInData() const {
    return static_cast<int>(std::distance(fs::directory_iterator(Data()), {}));
  }
  test_support::TempDir dir_;
  std::optional<std::string> old_data_home_;
};

TEST_F(TrashTest, FreshAccountGetsAPrivateHomeTrashWithInfo) {
  // A new account has no ~/.local/share at all.
  setenv("XDG_DATA_HOME", (dir_.path() / "home" / ".local" / "share").c_str(), 1);
  const fs::path trash = dir_.path() / "home" / ".local" / "share" / "Trash";
  for (const char* stored : {"KVR20261224.dat", "KVR20261224.dat.2"}) {
    WriteBytes(Data() / "KVR20261224.dat", stored);
    ASSERT_EQ(platform::MoveToTrash(Data() / "KVR20261224.dat"), platform::TrashResult::kTrashed);
    EXPECT_EQ(ReadBytes(trash / "files" / stored), stored);
    const std::string info = ReadBytes(trash / "info" / (std::string(stored) + ".trashinfo"));
    EXPECT_EQ(
        info.rfind("[Trash Info]\nPath=" + platform::TrashInfoPath(Data() / "KVR20261224.dat") +
                       "\nDeletionDate=",
                   0),
        0u)
        << info;
  }
  EXPECT_EQ(EntriesInData(), 0);
  struct stat st;
  ASSERT_EQ(::stat((trash / "files").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(TrashTest, NoUsableTrashChangesNothing) {
  WriteBytes(dir_.path() / "plain-file", "x");
  for (const fs::path& data_home :
       {dir_.path() / "plain-file" / "share",  // cannot be made
        Data().parent_path()}) {               // would put the trash among the day files
    setenv("XDG_DATA_HOME", data_home.c_str(), 1);
    WriteBytes(Data() / "KVR20261224.dat", "day");
    EXPECT_EQ(platform::MoveToTrash(Data() / "KVR20261224.dat", Data().parent_path()),
              platform::TrashResult::kNoTrash)
        << data_home;
    EXPECT_EQ(ReadBytes(Data() / "KVR20261224.dat"), "day");
    EXPECT_EQ(EntriesInData(), 1);
  }
  EXPECT_FALSE(fs::exists(Data().parent_path() / "Trash"));
}

TEST(TrashInfo, PathIsPercentEncoded) {
  EXPECT_EQ(platform::TrashInfoPath("/home/a b/データ/x%.dat"),
            "/home/a%20b/%E3%83%87%E3%83%BC%E3%82%BF/x%25.dat");
}

}  // namespace
