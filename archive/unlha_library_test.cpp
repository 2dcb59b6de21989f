// The archiver as the program and the tool use it: the shared library loaded through
// ArchiverLibrary, its two command lines, and archives exchanged with independent LZH tools.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
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

bool HaveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

int Shell(const std::string& command) {
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The files below `dir` by relative path (UTF-8 or raw bytes as the tool wrote them).
std::map<std::string, std::string> Tree(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = ReadBytes(e.path());
  }
  return files;
}

// A small year of day files plus the awkward cases: empty, one byte, incompressible, large,
// and Shift-JIS names whose trail byte is 0x5C.
std::map<std::string, std::string> SampleFiles() {
  std::map<std::string, std::string> files;
  std::mt19937 rng(11);
  const char* lines[] = {"09:00 定例会議（第3会議室）",
                         "12:30 昼食 山田さんと",
                         "メモ：資料を印刷しておくこと",
                         "歯医者 18:00",
                         "予定表を提出",
                         "ソフトの更新"};
  for (int day = 1; day <= 40; ++day) {
    std::string text;
    for (unsigned i = 0; i < 1 + rng() % 6; ++i) text += cp932::FromUtf8(lines[rng() % 6]) + "\r\n";
    char name[32];
    std::snprintf(name, sizeof name, "KVR199901%02d.dat", day % 31 + 1);
    files[name] = text;
  }
  files["empty.dat"] = "";
  files["one.dat"] = "x";
  std::string noise(3000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  files["noise.bin"] = noise;
  std::string big;
  while (big.size() < 300000)
    big += cp932::FromUtf8(lines[rng() % 6]) + std::to_string(rng() % 500) + "\r\n";
  files["big.txt"] = big;
  files[cp932::ToUtf8(cp932::FromUtf8("予定表.dat"))] = cp932::FromUtf8("表示\r\n");
  files["ソフト.dat"] = cp932::FromUtf8("十能\r\n");
  return files;
}

class UnlhaLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_cwd_ = fs::current_path();
    root_ = temp_.path();
    fs::create_directories(root_ / "src");
    fs::create_directories(root_ / "out");
  }
  void TearDown() override { fs::current_path(saved_cwd_); }

  int Run(const std::string& command, std::string* output = nullptr, unsigned long size = 4096) {
    ArchiverLibrary library;
    EXPECT_EQ(library.Load(), ArchiverLibrary::LoadState::kLoaded) << library.load_error();
    int r = library.Run(command, output, size);
    library.Release();
    return r;
  }

  // Writes the files into src and packs them with the program's command line.
  std::string Pack(const std::map<std::string, std::string>& files, const std::string& archive) {
    std::string command = "U " + archive + " ";
    for (const auto& [name, data] : files) {
      WriteBytes(root_ / "src" / name, data);
      command += platform::Cp932FromPath(root_ / "src" / name) + "\r\n";
    }
    std::string output;
    EXPECT_EQ(Run(command, &output), kUnlhaOk) << output;
    return output;
  }

  test_support::TempDir temp_;
  fs::path root_, saved_cwd_;
};

TEST_F(UnlhaLibraryTest, LoadingFindsTheEntryOrSaysWhy) {
  ArchiverLibrary library;
  EXPECT_EQ(library.Load(), ArchiverLibrary::LoadState::kLoaded);
  EXPECT_TRUE(library.loaded());
  library.Release();
  EXPECT_FALSE(library.loaded());
  EXPECT_EQ(library.Run("L x.lzh"), -1);

  ArchiverLibrary missing(root_ / "nothing.so");
  EXPECT_EQ(missing.Load(), ArchiverLibrary::LoadState::kNotLoadable);
  EXPECT_FALSE(missing.load_error().empty());
  // A loadable library without the entry.
  ArchiverLibrary no_entry("libz.so.1");
  EXPECT_EQ(no_entry.Load(), ArchiverLibrary::LoadState::kNoEntry);
  EXPECT_FALSE(no_entry.loaded());
}

TEST_F(UnlhaLibraryTest, CreateUpdateAndExtractRoundTrip) {
  std::map<std::string, std::string> files = SampleFiles();
  std::string archive = platform::Cp932FromPath(root_ / "My Data" / "1999.LZH");
  fs::create_directories(root_ / "My Data");
  Pack(files, archive);

  // Update: one file changed, one new, the rest kept although not listed.
  files["KVR19990105.dat"] = cp932::FromUtf8("変更しました\r\n");
  files["KVR19990201.dat"] = cp932::FromUtf8("新しい日\r\n");
  std::map<std::string, std::string> update = {{"KVR19990105.dat", files["KVR19990105.dat"]},
                                               {"KVR19990201.dat", files["KVR19990201.dat"]}};
  std::string summary = Pack(update, archive);
  EXPECT_NE(summary.find("追加 1 更新 1"), std::string::npos) << summary;

  std::string listing;
  ASSERT_EQ(Run("L " + archive, &listing, 1 << 20), kUnlhaOk);
  EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), static_cast<long>(files.size()));
  EXPECT_NE(listing.find("予定表.dat\t" + std::to_string(cp932::FromUtf8("表示\r\n").size())),
            std::string::npos);
  EXPECT_NE(listing.find("empty.dat\t0\t0\t-lh0-"), std::string::npos) << listing;
  EXPECT_NE(listing.find("noise.bin\t3000\t3000\t-lh0-"), std::string::npos);
  EXPECT_NE(listing.find("big.txt\t"), std::string::npos);
  EXPECT_EQ(listing.find("\t?\t"), std::string::npos);
  // A buffer too small for the listing says so.
  EXPECT_EQ(Run("L " + archive, &listing, 64), kUnlhaBufferTooSmall);
  EXPECT_LT(listing.size(), 64u);

  fs::current_path(root_ / "out");
  std::string output;
  ASSERT_EQ(Run("X -c1 " + archive, &output), kUnlhaOk) << output;
  EXPECT_EQ(Tree(root_ / "out"), files);
  struct stat a, b;
  ASSERT_EQ(::stat((root_ / "src" / "big.txt").c_str(), &a), 0);
  ASSERT_EQ(::stat((root_ / "out" / "big.txt").c_str(), &b), 0);
  EXPECT_EQ(a.st_mtime, b.st_mtime);
}

TEST_F(UnlhaLibraryTest, RelativeNamesAndTheProgramsTinyBuffer) {
  fs::current_path(root_ / "src");
  WriteBytes("a.dat", "alpha alpha alpha alpha");
  WriteBytes("b c.dat", "with a blank");
  char buffer[10];
  // The program passes a 10-byte buffer; the text is cut, never overrun.
  ArchiverLibrary library;
  ASSERT_EQ(library.Load(), ArchiverLibrary::LoadState::kLoaded);
  std::string output;
  EXPECT_EQ(library.Run("U ../rel.lzh a.dat b c.dat", &output, sizeof buffer), kUnlhaOk);
  EXPECT_LT(output.size(), sizeof buffer);
  fs::current_path(root_ / "out");
  EXPECT_EQ(library.Run("X -c1 ../rel.lzh"), kUnlhaOk);
  EXPECT_EQ(ReadBytes(root_ / "out" / "b c.dat"), "with a blank");
  EXPECT_EQ(ReadBytes(root_ / "out" / "a.dat"), "alpha alpha alpha alpha");
}

TEST_F(UnlhaLibraryTest, FailedUpdatesKeepThePreviousArchive) {
  fs::path lzh = root_ / "keep.lzh";
  Pack({{"a.dat", "first"}}, platform::Cp932FromPath(lzh));
  std::string before = ReadBytes(lzh);
  std::string output;
  EXPECT_EQ(Run("U " + lzh.string() + " " + (root_ / "src" / "a.dat").string() + "\r\n" +
                    (root_ / "missing.dat").string() + "\r\n",
                &output),
            kUnlhaCannotRead);
  EXPECT_NE(output.find("missing.dat"), std::string::npos);
  EXPECT_EQ(ReadBytes(lzh), before);
  // Something that is not an archive is not overwritten either.
  WriteBytes(root_ / "text.lzh", "not an archive at all");
  EXPECT_EQ(Run("U " + (root_ / "text.lzh").string() + " " + (root_ / "src" / "a.dat").string()),
            kUnlhaNotArchive);
  EXPECT_EQ(ReadBytes(root_ / "text.lzh"), "not an archive at all");
  // No temporary files were left beside the archives.
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(root_)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"keep.lzh", "out", "src", "text.lzh"}));
  // Extracting what does not exist, and unknown commands.
  EXPECT_EQ(Run("X -c1 " + (root_ / "none.lzh").string()), kUnlhaNoArchive);
  EXPECT_EQ(Run("Q a.lzh"), kUnlhaBadCommand);
}

TEST_F(UnlhaLibraryTest, IndependentToolsExtractOurArchivesByteForByte) {
  // Called by its own name: "lha" may be another tool through the alternatives system.
  if (!HaveTool("lhasa") || !HaveTool("bsdtar")) GTEST_SKIP() << "lhasa or bsdtar missing";
  std::map<std::string, std::string> files = SampleFiles();
  fs::path lzh = root_ / "ours.lzh";
  Pack(files, platform::Cp932FromPath(lzh));

  fs::create_directories(root_ / "bsdtar");
  ASSERT_EQ(
      Shell("cd '" + (root_ / "bsdtar").string() +
            "' && LC_ALL=C.UTF-8 bsdtar --options hdrcharset=CP932 -xf '" + lzh.string() + "'"),
      0);
  EXPECT_EQ(Tree(root_ / "bsdtar"), files);

  // lhasa writes the names' bytes as they stand (code page 932 here); none may have been
  // split at a 0x5C trail byte.
  fs::create_directories(root_ / "lhasa");
  ASSERT_EQ(Shell("cd '" + (root_ / "lhasa").string() + "' && lhasa -xq '" + lzh.string() + "'"),
            0);
  std::map<std::string, std::string> want_raw;
  for (const auto& [name, data] : files) want_raw[cp932::FromUtf8(name)] = data;
  EXPECT_EQ(Tree(root_ / "lhasa"), want_raw);
  EXPECT_EQ(Shell("lhasa -t '" + lzh.string() + "' >/dev/null 2>&1"), 0);
}

TEST_F(UnlhaLibraryTest, ArchivesOfAnIndependentToolAreExtracted) {
  if (!HaveTool("jlha")) GTEST_SKIP() << "jlha missing";
  std::map<std::string, std::string> files;
  std::string text;
  for (int i = 0; i < 4000; ++i) text += "line " + std::to_string(i % 97) + " of the day\r\n";
  files["text.txt"] = text;
  files["short.txt"] = "hi";
  files["KVR20240229.dat"] = cp932::FromUtf8("閏日の予定\r\n");
  for (const auto& [name, data] : files) WriteBytes(root_ / "src" / name, data);
  // Several header levels and methods, as that tool writes them.
  const std::pair<const char*, const char*> runs[] = {
      {"a0", "-lh5-"}, {"a1o6", "-lh6-"}, {"a2o7", "-lh7-"}, {"az1", "-lh0-"}};
  for (const auto& [options, method] : runs) {
    SCOPED_TRACE(options);
    fs::path lzh = root_ / (std::string(options) + ".lzh");
    ASSERT_EQ(Shell("cd '" + (root_ / "src").string() + "' && jlha " + options + " '" +
                    lzh.string() + "' text.txt short.txt KVR20240229.dat >/dev/null 2>&1"),
              0);
    fs::path out = root_ / (std::string("x-") + options);
    fs::create_directories(out);
    fs::current_path(out);
    std::string output;
    ASSERT_EQ(Run("X -c1 " + lzh.string(), &output), kUnlhaOk) << output;
    EXPECT_EQ(Tree(out), files);
    std::string listing;
    ASSERT_EQ(Run("L " + lzh.string(), &listing), kUnlhaOk);
    EXPECT_EQ(listing.find("\t?\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find(std::string("text.txt\t") + std::to_string(text.size())),
              std::string::npos);
    EXPECT_NE(listing.find(method), std::string::npos) << listing;
  }
}

TEST_F(UnlhaLibraryTest, CliRunsTheLibrary) {
  const char* cli = std::getenv("MIRUNE_CLI");
  if (!cli) GTEST_SKIP() << "MIRUNE_CLI not set";
  WriteBytes(root_ / "src" / "d1.dat", cp932::FromUtf8("一日目\r\n"));
  WriteBytes(root_ / "src" / "d2.dat", "second day\r\n");
  std::string lzh = (root_ / "cli test.lzh").string();
  std::string q = "'" + std::string(cli) + "'";
  EXPECT_EQ(Shell(q + " lha u '" + lzh + "' '" + (root_ / "src/d1.dat").string() + "' '" +
                  (root_ / "src/d2.dat").string() + "'"),
            0);
  EXPECT_EQ(Shell(q + " lha l '" + lzh + "' > '" + (root_ / "list.txt").string() + "'"), 0);
  std::string listing = ReadBytes(root_ / "list.txt");
  EXPECT_NE(listing.find("d1.dat\t8\t8\t-lh0-\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("d2.dat\t12\t"), std::string::npos) << listing;
  EXPECT_EQ(Shell("cd '" + (root_ / "out").string() + "' && " + q + " lha x '" + lzh + "'"), 0);
  EXPECT_EQ(ReadBytes(root_ / "out" / "d1.dat"), cp932::FromUtf8("一日目\r\n"));
  EXPECT_EQ(Shell(q + " lha x '" + (root_ / "none.lzh").string() + "' 2>'" +
                  (root_ / "err.txt").string() + "'"),
            2);
  EXPECT_NE(ReadBytes(root_ / "err.txt").find("none.lzh"), std::string::npos);
  EXPECT_EQ(Shell(q + " lha u 2>/dev/null"), 2);
}

}  // namespace
}  // namespace archive
