// ZIP archives beside LZH through the library's command lines, and the progress entry: counts
// that reach the total, and a cancel that leaves the archive as it was.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "archive/archiver_library.h"
#include "archive/unlha_result.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

int Shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const char* name) {
  return Shell(std::string("command -v ") + name + " >/dev/null 2>&1") == 0;
}

std::map<std::string, std::string> Tree(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = ReadBytes(e.path());
  }
  return files;
}

class ZipProgressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = fs::current_path();
    fs::create_directories(src() / "sub");
    fs::create_directories(out());
    ASSERT_EQ(library_.Load(), ArchiverLibrary::LoadState::kLoaded) << library_.load_error();
  }
  void TearDown() override { fs::current_path(saved_cwd_); }
  fs::path src() const { return temp_.path() / "src"; }
  fs::path out() const { return temp_.path() / "out"; }

  // Writes the day files and returns the program's "U" command for them.
  std::string Command(const fs::path& archive, const std::map<std::string, std::string>& files) {
    std::string command = "U \"" + platform::Cp932FromPath(archive) + "\" ";
    for (const auto& [name, data] : files) {
      WriteBytes(src() / name, data);
      command += platform::Cp932FromPath(src() / name) + "\r\n";
    }
    return command;
  }

  std::map<std::string, std::string> Days(int n) {
    std::map<std::string, std::string> files;
    for (int i = 0; i < n; ++i) {
      files["KVR2024" + std::to_string(1000 + i) + ".dat"] =
          cp932::FromUtf8("予定 " + std::to_string(i) + " 会議\r\n");
    }
    return files;
  }

  test_support::TempDir temp_;
  fs::path saved_cwd_;
  ArchiverLibrary library_;
};

TEST_F(ZipProgressTest, ZipRoundTripWithUtf8NamesFlagged) {
  std::map<std::string, std::string> files = Days(5);
  files["予定表.dat"] = cp932::FromUtf8("表示\r\n");
  files["empty.dat"] = "";
  fs::path zip = temp_.path() / "My Data.zip";
  std::string output;
  ASSERT_EQ(library_.Run(Command(zip, files), &output, 4096), kUnlhaOk) << output;
  std::string bytes = ReadBytes(zip);
  ASSERT_EQ(bytes.substr(0, 4), std::string("PK\3\4"));
  // The local header of the Japanese name has the language-encoding flag (bit 11); libarchive
  // leaves it off for plain ASCII names, which read the same either way.
  std::map<std::string, bool> flagged;
  for (size_t at = bytes.find("PK\3\4"); at != std::string::npos;
       at = bytes.find("PK\3\4", at + 4)) {
    auto u16 = [&](size_t off) {
      return static_cast<unsigned>(static_cast<unsigned char>(bytes[at + off]) |
                                   static_cast<unsigned char>(bytes[at + off + 1]) << 8);
    };
    flagged[bytes.substr(at + 30, u16(26))] = (u16(6) & 0x0800) != 0;
  }
  EXPECT_EQ(flagged.size(), files.size());
  EXPECT_TRUE(flagged["予定表.dat"]);

  std::string listing;
  ASSERT_EQ(library_.List("\"" + zip.string() + "\"", &listing), kUnlhaOk);
  EXPECT_NE(listing.find("予定表.dat\t6\t?\t"), std::string::npos) << listing;
  EXPECT_NE(listing.find("deflate"), std::string::npos) << listing;

  fs::current_path(out());
  ASSERT_EQ(library_.Run("X -c1 " + platform::Cp932FromPath(zip), &output, 4096), kUnlhaOk)
      << output;
  EXPECT_EQ(Tree(out()), files);

  if (HaveTool("unzip")) {
    fs::create_directories(temp_.path() / "unzip");
    ASSERT_EQ(
        Shell("cd '" + (temp_.path() / "unzip").string() + "' && unzip -q '" + zip.string() + "'"),
        0);
    EXPECT_EQ(Tree(temp_.path() / "unzip"), files);
  }
}

TEST_F(ZipProgressTest, ZipOfAnotherToolAndUnsafeMembers) {
  if (!HaveTool("zip") || !HaveTool("python3")) GTEST_SKIP() << "zip or python3 missing";
  WriteBytes(src() / "a.dat", "alpha");
  fs::path theirs = temp_.path() / "theirs.zip";
  ASSERT_EQ(Shell("cd '" + src().string() + "' && zip -q '" + theirs.string() + "' a.dat"), 0);
  // Members that would leave the folder, written as a hostile archive would.
  fs::path hostile = temp_.path() / "hostile.zip";
  ASSERT_EQ(Shell("python3 -c \"import zipfile; z=zipfile.ZipFile('" + hostile.string() +
                  "','w'); [z.writestr(n,'x') for n in ('../evil.dat','/abs.dat','ok.dat')]\""),
            0);
  struct Case {
    fs::path archive;
    int result;
    std::map<std::string, std::string> extracted;
  };
  const Case cases[] = {{theirs, kUnlhaOk, {{"a.dat", "alpha"}}},
                        {hostile, kUnlhaUnsafeMember, {{"ok.dat", "x"}}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive.string());
    fs::remove_all(out());
    fs::create_directories(out());
    fs::current_path(out());
    std::string output;
    EXPECT_EQ(library_.Run("X -c1 " + c.archive.string(), &output, 4096), c.result) << output;
    EXPECT_EQ(Tree(out()), c.extracted);
  }
  EXPECT_FALSE(fs::exists(temp_.path() / "evil.dat"));
  EXPECT_FALSE(fs::exists("/abs.dat"));
}

TEST_F(ZipProgressTest, ProgressCountsAndCancelKeepsTheArchive) {
  for (const char* name : {"days.lzh", "days.zip"}) {
    SCOPED_TRACE(name);
    fs::path archive = temp_.path() / name;
    std::map<std::string, std::string> files = Days(20);
    std::string command = Command(archive, files);
    size_t last_done = 0, last_total = 0, calls = 0;
    bool monotonic = true;
    auto count = [&](size_t done, size_t total) {
      monotonic = monotonic && done >= last_done && done <= total;
      last_done = done;
      last_total = total;
      ++calls;
      return true;
    };
    std::string output;
    ASSERT_EQ(library_.Run(command, &output, 4096, count), kUnlhaOk) << output;
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(last_total, files.size());
    EXPECT_EQ(last_done, files.size());
    EXPECT_GT(calls, files.size());

    // A second run that changes a day and adds one is cancelled half way: nothing changes.
    const std::string before = ReadBytes(archive);
    WriteBytes(src() / "KVR20241000.dat", "changed");
    auto cancel_at_10 = [](size_t done, size_t) { return done < 10; };
    EXPECT_EQ(library_.Run(command, &output, 4096, cancel_at_10), kUnlhaCancelled);
    EXPECT_EQ(ReadBytes(archive), before);

    // Extraction stops between members.
    fs::current_path(saved_cwd_);
    fs::remove_all(out());
    fs::create_directories(out());
    fs::current_path(out());
    last_done = last_total = 0;
    ASSERT_EQ(library_.Run("X -c1 " + archive.string(), &output, 4096, count), kUnlhaOk);
    EXPECT_EQ(last_total, files.size());
    EXPECT_EQ(Tree(out()).size(), files.size());
    fs::current_path(saved_cwd_);
    fs::remove_all(out());
    fs::create_directories(out());
    fs::current_path(out());
    auto cancel_at_5 = [](size_t done, size_t) { return done < 5; };
    EXPECT_EQ(library_.Run("X -c1 " + archive.string(), &output, 4096, cancel_at_5),
              kUnlhaCancelled);
    EXPECT_EQ(Tree(out()).size(), 5u);
    fs::current_path(saved_cwd_);
  }
}

TEST_F(ZipProgressTest, ExtractionOnAFullDiskLeavesNoHalfFiles) {
  for (const char* name : {"full.lzh", "full.zip"}) {
    SCOPED_TRACE(name);
    fs::path archive = temp_.path() / name;
    std::map<std::string, std::string> files = {{"small.dat", "tiny"},
                                                {"large.dat", std::string(5000, 'L')}};
    std::string output;
    ASSERT_EQ(library_.Run(Command(archive, files), &output, 4096), kUnlhaOk) << output;
    fs::current_path(saved_cwd_);
    fs::remove_all(out());
    fs::create_directories(out());
    fs::current_path(out());
    int result;
    {
      test_support::ScopedFileSizeLimit full(100);
      result = library_.Run("X -c1 " + archive.string(), &output, 4096);
    }
    EXPECT_EQ(result, kUnlhaCannotWrite) << output;
    EXPECT_NE(output.find("large.dat"), std::string::npos) << output;
    // The member that fitted is there whole; nothing else, not even a temporary file.
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(out())) names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"small.dat"});
    EXPECT_EQ(ReadBytes(out() / "small.dat"), "tiny");
    fs::current_path(saved_cwd_);
  }
}

}  // namespace
}  // namespace archive
