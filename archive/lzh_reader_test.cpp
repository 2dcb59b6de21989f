// Reading and extracting archives that try to do harm: names leading out of the folder, links,
// broken data and lying sizes. Nothing may be written outside the destination, no member may
// be left half-written under its name, and nothing may crash.
#include <gtest/gtest.h>

#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "archive/archive_extractor.h"
#include "archive/crc16.h"
#include "archive/lh5_encoder.h"
#include "archive/lzh_header_scan.h"
#include "archive/lzh_reader.h"
#include "archive/lzh_writer.h"
#include "archive/unlha_result.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

void Put16(std::string& s, unsigned v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& s, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

struct RawMember {
  std::string method = "-lh0-";
  std::string file_name;            // raw bytes of ext 0x01
  std::string dir_name;             // raw bytes of ext 0x02 (0xFF separators), empty for none
  std::string extra;                // further extended headers, each "type + data"
  std::string data;                 // the bytes after the header
  std::int64_t original_size = -1;  // default: data size
  int crc = -1;                     // default: CRC of data
  std::uint32_t mtime = 1000000000;
};

void AddExt(std::string& h, char type, const std::string& data) {
  size_t at = h.size() - 2;
  unsigned size = static_cast<unsigned>(data.size() + 3);
  h[at] = static_cast<char>(size & 0xFF);
  h[at + 1] = static_cast<char>(size >> 8);
  h.push_back(type);
  h += data;
  Put16(h, 0);
}

// A level-2 member built field by field, so that tests can put anything into it.
std::string Level2(const RawMember& m) {
  std::string h;
  Put16(h, 0);
  h += m.method;
  Put32(h, static_cast<std::uint32_t>(m.data.size()));
  Put32(h, static_cast<std::uint32_t>(m.original_size >= 0 ? m.original_size : m.data.size()));
  Put32(h, m.mtime);
  h.push_back(0x20);
  h.push_back(2);
  Put16(h, m.crc >= 0 ? static_cast<unsigned>(m.crc) : Crc16::Of(m.data));
  h.push_back('M');
  Put16(h, 0);
  AddExt(h, 0x00, std::string(2, '\0'));
  AddExt(h, 0x01, m.file_name);
  if (!m.dir_name.empty()) AddExt(h, 0x02, m.dir_name);
  size_t i = 0;
  while (i < m.extra.size()) {  // extra: records of [type][len][data]
    char type = m.extra[i];
    size_t len = static_cast<unsigned char>(m.extra[i + 1]);
    AddExt(h, type, m.extra.substr(i + 2, len));
    i += 2 + len;
  }
  if ((h.size() & 0xFF) == 0) h.push_back('\0');
  h[0] = static_cast<char>(h.size() & 0xFF);
  h[1] = static_cast<char>(h.size() >> 8);
  unsigned crc = Crc16::Of(h);
  h[27] = static_cast<char>(crc & 0xFF);
  h[28] = static_cast<char>(crc >> 8);
  return h + m.data;
}

// A level-0 member, whose name may hold '\' as the folder separator.
std::string Level0(const std::string& name, const std::string& data) {
  std::string h = "-lh0-";
  Put32(h, static_cast<std::uint32_t>(data.size()));
  Put32(h, static_cast<std::uint32_t>(data.size()));
  Put32(h, 0x2A210000);  // a DOS time stamp
  h.push_back(0x20);
  h.push_back(0);
  h.push_back(static_cast<char>(name.size()));
  h += name;
  Put16(h, Crc16::Of(data));
  unsigned sum = 0;
  for (unsigned char c : h) sum += c;
  return std::string(1, static_cast<char>(h.size())) + static_cast<char>(sum & 0xFF) + h + data;
}

RawMember File(const std::string& name, const std::string& data) {
  RawMember m;
  m.file_name = name;
  m.data = data;
  return m;
}

class LzhHostileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = temp_.path();
    dest_ = root_ / "dest" / "inner";
    fs::create_directories(dest_);
  }

  ExtractResult Extract(const std::string& archive_bytes, bool overwrite = true) {
    WriteBytes(root_ / "a.lzh", archive_bytes);
    return ArchiveExtractor(dest_, overwrite).Extract(root_ / "a.lzh");
  }

  // Every file below root except the archive, as paths relative to root.
  std::vector<std::string> FilesOutsideDest() {
    std::vector<std::string> found;
    for (auto& e : fs::recursive_directory_iterator(root_)) {
      fs::path rel = fs::relative(e.path(), root_);
      if (rel == "a.lzh" || rel == "dest" || rel == "dest/inner" ||
          rel.string().starts_with("dest/inner/"))
        continue;
      found.push_back(rel.string());
    }
    return found;
  }

  std::vector<std::string> DestNames() {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(dest_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test_support::TempDir temp_;
  fs::path root_, dest_;
};

TEST_F(LzhHostileTest, NamesLeadingOutOfTheFolderAreRefused) {
  std::string abs_dir = (root_ / "abs").string();
  std::string abs_raw;
  for (char c : abs_dir) abs_raw.push_back(c == '/' ? '\xFF' : c);
  fs::create_directories(root_ / "abs");
  RawMember up = File("up.txt", "x");
  up.dir_name = "..\xFF..\xFF";
  RawMember absolute = File("abs.txt", "x");
  absolute.dir_name = abs_raw + '\xFF';
  RawMember sneaky = File("sneak.txt", "x");
  sneaky.dir_name = "sub\xFF..\xFF..\xFF";
  std::string archive = Level2(File("good.txt", "good")) + Level2(up) + Level2(absolute) +
                        Level2(sneaky) + Level2(File("..\\back.txt", "x")) +
                        Level2(File("C:drive.txt", "x")) + Level0("..\\zero.txt", "x") +
                        Level0("\\root.txt", "x") + Level2(File("fine2.txt", "also")) + '\0';
  ExtractResult r = Extract(archive);
  EXPECT_EQ(r.result, kUnlhaUnsafeMember);
  EXPECT_EQ(r.extracted, 2);
  EXPECT_EQ(r.problems.size(), 7u);
  EXPECT_EQ(DestNames(), (std::vector<std::string>{"fine2.txt", "good.txt"}));
  EXPECT_EQ(ReadBytes(dest_ / "good.txt"), "good");
  EXPECT_TRUE(FilesOutsideDest() == std::vector<std::string>{"abs"})
      << ::testing::PrintToString(FilesOutsideDest());
  EXPECT_TRUE(fs::is_empty(root_ / "abs"));
}

TEST_F(LzhHostileTest, LinksAreRefusedAndNotFollowed) {
  fs::create_directories(root_ / "outside");
  // A symbolic link member as LHa for UNIX writes it: "name|target" with a link mode.
  RawMember link = File("link|" + (root_ / "outside").string(), "");
  std::string mode;
  Put16(mode, 0120777);
  link.extra = std::string("\x50\x02", 2) + mode;
  link.method = "-lh0-";
  // A folder of the destination that is a link to outside: members below it are refused.
  fs::create_directory_symlink(root_ / "outside", dest_ / "out");
  RawMember through = File("x.txt", "through");
  through.dir_name = "out\xFF";
  ExtractResult r = Extract(Level2(link) + Level2(through) + Level2(File("ok.txt", "ok")) + '\0');
  EXPECT_EQ(r.result, kUnlhaUnsafeMember);
  EXPECT_EQ(r.extracted, 1);
  EXPECT_FALSE(fs::exists(fs::symlink_status(dest_ / "link")));
  EXPECT_TRUE(fs::is_empty(root_ / "outside"));
  EXPECT_EQ(ReadBytes(dest_ / "ok.txt"), "ok");
}

TEST_F(LzhHostileTest, BrokenDataLeavesNoFileUnderTheMembersName) {
  WriteBytes(dest_ / "victim.txt", "old");
  std::string text(3000, '\0');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i * i % 7);
  std::string packed = Lh5Encoder::Encode(text);

  RawMember bad_crc = File("victim.txt", packed);
  bad_crc.method = "-lh5-";
  bad_crc.original_size = static_cast<std::int64_t>(text.size());
  bad_crc.crc = Crc16::Of(text) ^ 0x0100;
  RawMember stored_bad_crc = File("victim.txt", "new");
  stored_bad_crc.crc = Crc16::Of("new") ^ 1;
  RawMember good = bad_crc;
  good.file_name = "later.txt";
  good.crc = Crc16::Of(text);

  struct Case {
    const char* what;
    std::string archive;
    int result;
  } cases[] = {
      {"lh5 CRC error", Level2(bad_crc) + Level2(good) + '\0', kUnlhaBrokenData},
      {"lh0 CRC error", Level2(stored_bad_crc) + '\0', kUnlhaBrokenData},
      {"truncated in the data", Level2(good).substr(0, 60), kUnlhaBrokenData},
      {"truncated in the header", Level2(good).substr(0, 20), kUnlhaNotArchive},
  };
  for (const Case& c : cases) {
    ExtractResult r = Extract(c.archive);
    EXPECT_EQ(r.result, c.result) << c.what;
    EXPECT_EQ(r.extracted, 0) << c.what;
    EXPECT_EQ(ReadBytes(dest_ / "victim.txt"), "old") << c.what;
    EXPECT_EQ(DestNames(), std::vector<std::string>{"victim.txt"})
        << c.what << ": a temporary file was left";
  }
}

TEST_F(LzhHostileTest, LyingSizesAreRefused) {
  RawMember huge = File("huge.txt", "tiny");
  huge.original_size = 0xFFFFFFF0u;
  RawMember huge_lh5 = File("huge5.txt", Lh5Encoder::Encode(std::string(5000, 'q')));
  huge_lh5.method = "-lh5-";
  huge_lh5.original_size = 0x7FFFFFFF;
  RawMember short_claim = File("short.txt", "0123456789");  // claims less than it holds
  short_claim.original_size = 4;
  RawMember long_claim = File("long.txt", "0123456789");  // claims more than it holds
  long_claim.original_size = 400;
  ExtractResult r = Extract(Level2(huge) + Level2(huge_lh5) + Level2(short_claim) +
                            Level2(long_claim) + Level2(File("ok.txt", "ok")) + '\0');
  EXPECT_NE(r.result, kUnlhaOk);
  EXPECT_EQ(DestNames(), std::vector<std::string>{"ok.txt"});
}

TEST_F(LzhHostileTest, GarbageAndUndecodableNamesDoNotCrash) {
  std::mt19937 rng(3);
  std::string garbage(4000, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  locale_t before = uselocale(static_cast<locale_t>(0));
  EXPECT_EQ(Extract(garbage).result, kUnlhaNotArchive);
  // A reader that failed to open gives the thread its locale back.
  EXPECT_EQ(uselocale(static_cast<locale_t>(0)), before);
  // An LZH-looking start with nonsense after it.
  EXPECT_NE(Extract(std::string("\x30\x00-lh5-", 8) + garbage).result, kUnlhaOk);
  // libarchive gives up on the whole archive at a name that is not code page 932.
  ExtractResult r =
      Extract(Level2(File("\x81\x20.txt", "x")) + Level2(File("ok.txt", "ok")) + '\0');
  EXPECT_EQ(r.result, kUnlhaNotArchive) << ::testing::PrintToString(r.problems);
  EXPECT_TRUE(DestNames().empty());
  EXPECT_TRUE(FilesOutsideDest().empty());
}

TEST_F(LzhHostileTest, ExistingNewerFilesAreKeptUnlessOverwriting) {
  RawMember m = File("day.dat", "from archive");
  m.mtime = 1000000000;
  WriteBytes(dest_ / "day.dat", "on disk");  // written now: newer than the member
  ExtractResult keep = Extract(Level2(m) + '\0', /*overwrite=*/false);
  EXPECT_EQ(keep.result, kUnlhaOk);
  EXPECT_EQ(keep.skipped, 1);
  EXPECT_EQ(ReadBytes(dest_ / "day.dat"), "on disk");
  ExtractResult replace = Extract(Level2(m) + '\0', /*overwrite=*/true);
  EXPECT_EQ(replace.extracted, 1);
  EXPECT_EQ(ReadBytes(dest_ / "day.dat"), "from archive");
  struct stat st;
  ASSERT_EQ(::stat((dest_ / "day.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);  // the member's time stamp
}

TEST(LzhHeaderScan, PackedSizesOfEveryLevel) {
  std::string level0 = Level0("a.txt", "hello");
  EXPECT_EQ(PackedSizeAt(level0, 0), 5u);
  std::string level2 = Level2(File("b.txt", "hello!!"));
  EXPECT_EQ(PackedSizeAt(level0 + level2, level0.size()), 7u);
  // Level 1: the skip size counts the extended headers (here a 3-byte file name one).
  std::string h1 = "-lh0-";
  Put32(h1, 6 + 3 + 5);  // ext "\x01" + "c" + next size (4 bytes with its own size), data 5
  Put32(h1, 5);
  Put32(h1, 0);
  h1 += std::string("\x20\x01\x00", 3);
  Put16(h1, 0);  // CRC
  h1.push_back('M');
  Put16(h1, 4);  // first extended header: type 0x01 "c" + next size = 4 bytes
  std::string level1 = std::string(1, static_cast<char>(h1.size())) + '\0' + h1 +
                       "\x01"
                       "c" +
                       std::string(2, '\0') + "hello";
  EXPECT_EQ(PackedSizeAt(level1, 0), 10u);
  EXPECT_EQ(PackedSizeAt("nonsense", 0), std::nullopt);
  EXPECT_EQ(PackedSizeAt(level2, 3), std::nullopt);
}

}  // namespace
}  // namespace archive
