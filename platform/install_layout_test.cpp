#include "platform/install_layout.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << "x";
}

TEST(InstallLayoutTest, BuildTreeAndInstalledTreeFindTheirFiles) {
  test_support::TempDir dir;
  const fs::path build_bin = dir.path() / "build" / "bin";
  const fs::path prefix = dir.path() / "prefix";
  const fs::path installed_bin = prefix / "bin";
  Touch(build_bin / "mirune.html");
  Touch(build_bin / "libmirune_unlha.so");
  Touch(prefix / "share" / "mirune" / "help" / "mirune.html");
  Touch(prefix / "lib" / "mirune" / "libmirune_unlha.so");
  Touch(build_bin / "kakugen.txt");
  Touch(prefix / "share" / "mirune" / "kakugen.txt");
  fs::create_directories(installed_bin);

  EXPECT_FALSE(platform::IsInstalledLayout(build_bin));
  EXPECT_TRUE(platform::IsInstalledLayout(installed_bin));
  EXPECT_EQ(platform::FindHelpFile(build_bin), build_bin / "mirune.html");
  EXPECT_EQ(platform::FindHelpFile(installed_bin),
            prefix / "share" / "mirune" / "help" / "mirune.html");
  EXPECT_EQ(platform::FindPrivateLibrary(build_bin, "libmirune_unlha.so"),
            build_bin / "libmirune_unlha.so");
  EXPECT_EQ(platform::FindPrivateLibrary(installed_bin, "libmirune_unlha.so"),
            prefix / "lib" / "mirune" / "libmirune_unlha.so");
  EXPECT_EQ(platform::FindMaximsFile(build_bin), build_bin / "kakugen.txt");
  EXPECT_EQ(platform::FindMaximsFile(installed_bin), prefix / "share" / "mirune" / "kakugen.txt");
}

TEST(InstallLayoutTest, NothingFoundGivesTheBareHelpNameAndTheLibraryBesideTheProgram) {
  test_support::TempDir dir;
  const fs::path bin = dir.path() / "bin";
  fs::create_directories(bin);
  // A bin folder without the program's share folder is not an installed tree.
  EXPECT_FALSE(platform::IsInstalledLayout(bin));
  EXPECT_EQ(platform::FindHelpFile(bin), fs::path("mirune.html"));
  EXPECT_EQ(platform::FindMaximsFile(bin), fs::path());
  EXPECT_EQ(platform::FindPrivateLibrary(bin, "libmirune_unlha.so"), bin / "libmirune_unlha.so");
  const auto candidates = platform::HelpFileCandidates(bin);
  ASSERT_EQ(candidates.size(), 2u);
  EXPECT_EQ(candidates[1], dir.path() / "share" / "mirune" / "help" / "mirune.html");
}

}  // namespace
