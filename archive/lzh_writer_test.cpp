// The level-2 headers and the method choice of the writer, checked byte by byte where readers
// are strict: the fixed 0x20 at offset 19, the header CRC, the padding rule, exact sizes, and
// storing wherever -lh5- would not be smaller or would be too short for libarchive.
#include <gtest/gtest.h>

#include "archive/crc16.h"
#include "archive/lh5_encoder.h"
#include "archive/lzh_reader.h"
#include "archive/lzh_writer.h"
#include "platform/cp932.h"

namespace archive {
namespace {

unsigned Le16(const std::string& s, size_t at) {
  return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}
std::uint32_t Le32(const std::string& s, size_t at) {
  return Le16(s, at) | (static_cast<std::uint32_t>(Le16(s, at + 2)) << 16);
}

TEST(LzhWriter, Level2HeaderFields) {
  std::string name = cp932::FromUtf8("1999/予定表.dat");  // 予 and 表 end in 0x5C
  std::string h = Level2Header({name, 0x12345678, false}, "-lh5-", 100, 300, 0xBEEF);
  EXPECT_EQ(Le16(h, 0), h.size());
  EXPECT_EQ(h.substr(2, 5), "-lh5-");
  EXPECT_EQ(Le32(h, 7), 100u);
  EXPECT_EQ(Le32(h, 11), 300u);
  EXPECT_EQ(Le32(h, 15), 0x12345678u);
  EXPECT_EQ(h[19], 0x20);
  EXPECT_EQ(h[20], 2);
  EXPECT_EQ(Le16(h, 21), 0xBEEFu);
  // The header CRC covers the whole header with its own field zeroed.
  ASSERT_EQ(h[26], 0x00);
  std::string zeroed = h;
  zeroed[27] = zeroed[28] = 0;
  EXPECT_EQ(Le16(h, 27), Crc16::Of(zeroed));
  // File name and folder in their own extended headers; folders end with 0xFF.
  EXPECT_NE(h.find('\x01' + cp932::FromUtf8("予定表.dat")), std::string::npos);
  EXPECT_NE(h.find(std::string("\x02"
                               "1999\xFF",
                               6)),
            std::string::npos);
  EXPECT_EQ(Le16(h, h.size() - 2), 0u);  // the chain ends with a zero size

  std::string dir = Level2Header({"sub/inner", 0, true}, "-lhd-", 0, 0, 0);
  EXPECT_NE(dir.find(std::string("\x02"
                                 "sub\xFFinner\xFF",
                                 11)),
            std::string::npos);
}

TEST(LzhWriter, HeaderNeverStartsWithZero) {
  // Find a name length that makes the header exactly 256 bytes: it must become 257.
  bool padded = false;
  for (size_t n = 150; n < 260 && !padded; ++n) {
    std::string h = Level2Header({std::string(n, 'a'), 0, false}, "-lh0-", 0, 0, 0);
    ASSERT_NE(h[0], 0) << n;
    if (h.size() == 257) {
      padded = true;
      EXPECT_EQ(h.back(), 0);
      std::string archive = h + '\0';  // and it reads back
      LzhReader reader{std::string_view(archive)};
      LzhEntry entry;
      ASSERT_TRUE(reader.Next(entry));
      EXPECT_EQ(entry.name, std::string(n, 'a'));
    }
  }
  EXPECT_TRUE(padded);
}

TEST(LzhWriter, ChoosesMethodAndPackedSizeExactly) {
  LzhWriter writer;
  EXPECT_EQ(writer.Add({"text.txt", 0, false}, std::string(5000, 'k')).method, "-lh5-");
  // Short files must all read back in libarchive, which refuses -lh5- data under 8 bytes.
  for (size_t n = 1; n <= 40; ++n) {
    for (const std::string& data :
         {std::string(n, 'k'),
          std::string("abcabcabcabcabcabcabcabcabcabcabcabcabcab").substr(0, n)}) {
      LzhWriter one;
      LzhWrittenMember m = one.Add({"s.txt", 0, false}, data);
      if (m.method == "-lh5-") {
        EXPECT_GE(m.packed_size, 8u);
      }
      std::string archive = one.Finish();
      LzhReader reader{std::string_view(archive)};
      LzhEntry entry;
      ASSERT_TRUE(reader.Next(entry));
      std::string back;
      reader.ReadData([&](const char* p, size_t k) { back.append(p, k); });
      EXPECT_EQ(back, data) << n;
    }
  }
  std::string noise;
  for (int i = 0; i < 256; ++i) noise.push_back(static_cast<char>(i * 37));
  EXPECT_EQ(writer.Add({"noise.bin", 0, false}, noise).method, "-lh0-");
  EXPECT_EQ(writer.Add({"empty", 0, false}, "").method, "-lh0-");
  std::string archive = writer.Finish();
  EXPECT_EQ(archive.back(), '\0');

  // Walking the archive by the packed sizes lands exactly on each next header and the end.
  size_t at = 0;
  int members = 0;
  while (archive[at] != 0) {
    at += Le16(archive, at) + Le32(archive, at + 7);
    ++members;
    ASSERT_LT(at, archive.size());
  }
  EXPECT_EQ(members, 3);
  EXPECT_EQ(at, archive.size() - 1);
}

}  // namespace
}  // namespace archive
