// The -lh5- encoder and its parts: CRC-16, length-limited Huffman codes, exact output for known
// vectors, and round trips through libarchive for inputs that stress each part of the format.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "archive/crc16.h"
#include "archive/huffman_lengths.h"
#include "archive/lh5_encoder.h"
#include "archive/lzh_reader.h"
#include "archive/lzh_writer.h"
#include "platform/cp932.h"
#include "test_support/temp_dir.h"

namespace archive {
namespace {

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Packs `data` as one -lh5- member (forced, even where storing would win) and reads it back
// through libarchive, which checks the CRC and rejects incomplete codes and trailing bits.
std::string RoundTrip(const std::string& data, const Lh5Options& options = {}) {
  std::string packed = Lh5Encoder::Encode(data, options);
  LzhMemberInfo info{"m.bin", 0, false};
  std::string bytes = Level2Header(info, "-lh5-", static_cast<std::uint32_t>(packed.size()),
                                   static_cast<std::uint32_t>(data.size()), Crc16::Of(data)) +
                      packed + '\0';
  LzhReader reader{std::string_view(bytes)};
  LzhEntry entry;
  EXPECT_TRUE(reader.Next(entry));
  EXPECT_EQ(entry.method, "-lh5-");
  std::string out;
  try {
    reader.ReadData([&](const char* p, size_t n) { out.append(p, n); });
  } catch (const LzhError& e) {
    return std::string("error: ") + e.what() + ", packed " + std::to_string(packed.size());
  }
  EXPECT_FALSE(reader.Next(entry));
  return out;
}

TEST(LzhCrc16, KnownValues) {
  EXPECT_EQ(Crc16::Of("123456789"), 0xBB3D);
  EXPECT_EQ(Crc16::Of(""), 0);
  EXPECT_EQ(Crc16::Of(Repeat(cp932::FromUtf8("予定表\r\n"), 40)), 0x73E5);
  Crc16 split;  // fed in pieces it gives the same value
  split.Update("1234");
  split.Update("56789");
  EXPECT_EQ(split.value(), 0xBB3D);
}

TEST(LzhHuffman, LengthsStayWithinLimitAndCodeIsComplete) {
  // Fibonacci counts make the plain Huffman tree as deep as there are symbols.
  std::vector<std::uint32_t> counts;
  std::uint32_t a = 1, b = 1;
  for (int i = 0; i < 30; ++i) {
    counts.push_back(a);
    std::uint32_t c = a + b;
    a = b;
    b = c;
  }
  counts.push_back(0);  // an unused symbol gets no code
  std::vector<std::uint8_t> lengths = HuffmanCodeLengths(counts, 16);
  double kraft = 0;
  for (size_t i = 0; i + 1 < counts.size(); ++i) {
    ASSERT_GE(lengths[i], 1);
    ASSERT_LE(lengths[i], 16);
    kraft += 1.0 / (1 << lengths[i]);
  }
  EXPECT_EQ(lengths.back(), 0);
  EXPECT_DOUBLE_EQ(kraft, 1.0);
  // More frequent symbols never get longer codes.
  for (size_t i = 1; i + 1 < counts.size(); ++i) EXPECT_LE(lengths[i], lengths[i - 1]);
}

TEST(LzhHuffman, CanonicalCodesArePrefixFree) {
  std::vector<std::uint8_t> lengths = {3, 3, 3, 3, 3, 2, 4, 4, 0, 5, 5};
  std::vector<std::uint16_t> codes = CanonicalCodes(lengths);
  EXPECT_EQ(codes[5], 0b00);  // the shortest code comes first
  EXPECT_EQ(codes[0], 0b010);
  for (size_t i = 0; i < lengths.size(); ++i) {
    for (size_t j = 0; j < lengths.size(); ++j) {
      if (i == j || !lengths[i] || !lengths[j] || lengths[i] > lengths[j]) continue;
      EXPECT_NE(codes[j] >> (lengths[j] - lengths[i]), codes[i]) << i << " prefixes " << j;
    }
  }
  std::vector<std::uint8_t> one = HuffmanCodeLengths({0, 7, 0}, 16);
  EXPECT_EQ(one, (std::vector<std::uint8_t>{0, 0, 0}));  // single symbol: the zero-bit form
}

TEST(LzhEncoder, KnownVectorsMatchByteForByte) {
  Lh5Options jlha_like;
  jlha_like.chain_limit = 64;
  std::string first = Repeat(cp932::FromUtf8("予定表\r\n"), 40);
  EXPECT_EQ(Hex(Lh5Encoder::Encode(first, jlha_like)),
            "000a3a6a4ffd9e091d488608"
            "91e48e3ab3e0753d111ff6");
  std::string second =
      Repeat(cp932::FromUtf8("09:00 定例会議（第3会議室）\r\n12:30 昼食 山田さんと\r\n"
                             "メモ：資料を印刷しておくこと\r\n"),
             3);
  ASSERT_EQ(second.size(), 246u);
  EXPECT_EQ(Crc16::Of(second), 0x8EE6);
  EXPECT_EQ(Hex(Lh5Encoder::Encode(second, jlha_like)),
            "004b4b56a21d14fdb75fd671d13a864cb7a23c02efa1333b040b50a06642850b3c0642c8c64a80f22d"
            "00008847712739a9debd64e2552e0a3647d0662b84a469b4a3d64b3bc663f5285e3a1a14912e20b7"
            "5945790e63ee6f06033160b45df37fd1");
  // The default settings search harder but must not do worse on these.
  EXPECT_LE(Lh5Encoder::Encode(first).size(), 23u);
  EXPECT_LE(Lh5Encoder::Encode(second).size(), 97u);
}

TEST(LzhEncoder, RoundTripsThroughLibarchive) {
  std::mt19937 rng(7);
  std::string random(20000, '\0');
  for (char& c : random) c = static_cast<char>(rng());
  std::string all_bytes;
  for (int i = 0; i < 256; ++i) all_bytes.push_back(static_cast<char>(i));
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += cp932::FromUtf8("行") + std::to_string(i * 7919 % 1000) + " 打ち合わせ\r\n";
  }
  // Repeats just inside and just outside the 8 KiB window.
  std::string far(8191, '\0');
  for (char& c : far) c = static_cast<char>(rng() % 16);
  std::string window_edges = far + far.substr(0, 300) + std::string(5, 'z') + far.substr(1, 400);

  struct Case {
    const char* what;
    std::string data;
  } cases[] = {
      {"long run (overlapping distance-1 matches)", std::string(100000, 'a')},
      {"random bytes", random},
      {"every byte once", all_bytes},
      {"text, several blocks", text},
      {"window edges", window_edges},
      {"two bytes", "ab"},
      {"four equal bytes", "aaaa"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.data), c.data) << c.what;

  Lh5Options small_blocks;
  small_blocks.block_symbols = 100;
  EXPECT_EQ(RoundTrip(text, small_blocks), text) << "many small blocks";
  Lh5Options greedy;
  greedy.lazy = false;
  greedy.chain_limit = 1;
  EXPECT_EQ(RoundTrip(text, greedy), text) << "greedy, short chains";
}

// Many small random inputs over alphabets of every width: these reach the rare table shapes
// (one or two symbols, zero runs of exactly 19, short T tables) that real text seldom does.
TEST(LzhEncoder, RandomInputsOfEveryShapeRoundTrip) {
  std::mt19937 rng(2024);
  LzhWriter all;
  for (int round = 0; round < 300; ++round) {
    int alphabet = 1 + static_cast<int>(rng() % 256);
    size_t size = 1 + rng() % (round < 250 ? 600 : 40000);
    std::string data(size, '\0');
    int base = static_cast<int>(rng() % 256);
    for (char& c : data) {
      // Skewed choices make runs and repeats; a spread base puts symbols far apart.
      unsigned r = rng() % alphabet;
      if (rng() % 3 == 0) r = 0;
      c = static_cast<char>((base + r * (1 + round % 7)) & 0xFF);
    }
    Lh5Options options;
    options.block_symbols = round % 5 == 0 ? 50 + static_cast<int>(rng() % 500) : 32768;
    // Streams under 8 bytes are stored by the writer (libarchive refuses them).
    if (Lh5Encoder::Encode(data, options).size() < 8) continue;
    SCOPED_TRACE(::testing::Message() << "round " << round << " size " << size << " alphabet "
                                      << alphabet << " block " << options.block_symbols);
    ASSERT_EQ(RoundTrip(data, options), data);
    all.Add({"r" + std::to_string(round) + ".bin", 0, false}, data);
  }
  // The same inputs as one archive for an independent decoder (lhasa), when it is there.
  if (std::system("command -v lhasa >/dev/null 2>&1") != 0) return;
  test_support::TempDir dir;
  test_support::WriteBytes(dir.path() / "random.lzh", all.Finish());
  EXPECT_EQ(
      std::system(
          ("lhasa -t '" + (dir.path() / "random.lzh").string() + "' >/dev/null 2>&1").c_str()),
      0);
}

}  // namespace
}  // namespace archive
