#include "archive/lh5_encoder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive/huffman_lengths.h"

namespace archive {
namespace {

constexpr int kWindowBits = 13;
constexpr int kMaxDistance = (1 << kWindowBits) - 1;  // position field d - 1 stays <= 8190
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kNC = 510;  // literals 0..255, lengths 3..256 as 256..509
constexpr int kNT = 19;
constexpr int kTBit = 5;
constexpr int kNP = kWindowBits + 1;
constexpr int kPBit = 4;
constexpr int kCBit = 9;
constexpr int kMaxCodeLength = 16;
constexpr int kMaxBlockSymbols = 65535;

class BitWriter {
 public:
  void Put(int bits, std::uint32_t value) {
    if (bits == 0) return;
    buffer_ = (buffer_ << bits) | (value & ((std::uint64_t{1} << bits) - 1));
    filled_ += bits;
    while (filled_ >= 8) {
      filled_ -= 8;
      out_.push_back(static_cast<char>((buffer_ >> filled_) & 0xFF));
    }
  }
  std::string Finish() {
    if (filled_ > 0) Put(8 - filled_, 0);
    return std::move(out_);
  }

 private:
  std::string out_;
  std::uint64_t buffer_ = 0;
  int filled_ = 0;
};

struct Token {
  std::uint16_t code;      // < 256 literal, else length + 253
  std::uint16_t position;  // distance - 1 for a match
};

int BitLength(unsigned v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// Hash chains over 3-byte prefixes; prev_ is indexed by absolute position, which is simple and
// cheap enough for the files this program archives.
class MatchFinder {
 public:
  MatchFinder(std::string_view data, int chain_limit)
      : data_(reinterpret_cast<const unsigned char*>(data.data())),
        size_(static_cast<int>(data.size())),
        chain_limit_(chain_limit),
        head_(1 << kHashBits, -1),
        prev_(data.size(), -1) {}

  // The longest match for position i (length 0 when below the minimum), then records i.
  std::pair<int, int> FindAndInsert(int i) {
    if (i + kMinMatch > size_) return {0, 0};
    unsigned h = Hash(i);
    int best_len = 0, best_dist = 0;
    int limit = std::min(kMaxMatch, size_ - i);
    int chain = chain_limit_;
    for (int cand = head_[h]; cand >= 0 && i - cand <= kMaxDistance && chain-- > 0;
         cand = prev_[cand]) {
      if (data_[cand + best_len] != data_[i + best_len] || data_[cand] != data_[i]) continue;
      int len = 0;
      while (len < limit && data_[cand + len] == data_[i + len]) ++len;
      if (len > best_len) {
        best_len = len;
        best_dist = i - cand;
        if (len == limit) break;
      }
    }
    prev_[i] = head_[h];
    head_[h] = i;
    if (best_len < kMinMatch) return {0, 0};
    return {best_len, best_dist};
  }

  void Insert(int i) {
    if (i + kMinMatch > size_) return;
    unsigned h = Hash(i);
    prev_[i] = head_[h];
    head_[h] = i;
  }

 private:
  static constexpr int kHashBits = 15;
  unsigned Hash(int i) const {
    return ((data_[i] << 10) ^ (data_[i + 1] << 5) ^ data_[i + 2]) & ((1u << kHashBits) - 1);
  }

  const unsigned char* data_;
  int size_;
  int chain_limit_;
  std::vector<int> head_;
  std::vector<int> prev_;
};

std::vector<Token> Tokenize(std::string_view data, const Lh5Options& options) {
  std::vector<Token> tokens;
  tokens.reserve(data.size() / 2 + 16);
  MatchFinder finder(data, std::max(1, options.chain_limit));
  const int n = static_cast<int>(data.size());
  auto literal = [&](int i) { return Token{static_cast<unsigned char>(data[i]), 0}; };
  int i = 0;
  std::pair<int, int> current = finder.FindAndInsert(0);
  while (i < n) {
    if (current.first == 0) {
      tokens.push_back(literal(i));
      ++i;
      if (i < n) current = finder.FindAndInsert(i);
      continue;
    }
    if (options.lazy && i + 1 < n) {
      std::pair<int, int> next = finder.FindAndInsert(i + 1);
      if (next.first > current.first) {
        tokens.push_back(literal(i));
        ++i;
        current = next;
        continue;
      }
      tokens.push_back({static_cast<std::uint16_t>(current.first + 253),
                        static_cast<std::uint16_t>(current.second - 1)});
      for (int k = i + 2; k < i + current.first; ++k) finder.Insert(k);
    } else {
      tokens.push_back({static_cast<std::uint16_t>(current.first + 253),
                        static_cast<std::uint16_t>(current.second - 1)});
      for (int k = i + 1; k < i + current.first; ++k) finder.Insert(k);
    }
    i += current.first;
    if (i < n) current = finder.FindAndInsert(i);
  }
  return tokens;
}

// The items that describe the C code lengths in terms of the T code: T0 one zero, T1 3-18
// zeros, T2 20-531 zeros, T(k+2) one length k.
struct CLengthItem {
  int symbol;
  int extra_bits;
  unsigned extra;
};

std::vector<CLengthItem> CLengthItems(const std::vector<std::uint8_t>& lengths, int n) {
  std::vector<CLengthItem> items;
  int i = 0;
  while (i < n) {
    if (lengths[i] != 0) {
      items.push_back({lengths[i] + 2, 0, 0});
      ++i;
      continue;
    }
    int run = 0;
    while (i + run < n && lengths[i + run] == 0) ++run;
    i += run;
    while (run > 0) {
      if (run <= 2) {
        items.push_back({0, 0, 0});
        --run;
      } else if (run <= 18) {
        items.push_back({1, 4, static_cast<unsigned>(run - 3)});
        run = 0;
      } else if (run == 19) {
        items.push_back({0, 0, 0});
        items.push_back({1, 4, 15});
        run = 0;
      } else {
        int take = std::min(run, 531);
        if (run - take > 0 && run - take < 3) take = run - 3;  // leave a run T1 can carry
        items.push_back({2, 9, static_cast<unsigned>(take - 20)});
        run -= take;
      }
    }
  }
  return items;
}

int UsedCount(const std::vector<std::uint32_t>& counts, int* only) {
  int used = 0;
  for (size_t i = 0; i < counts.size(); ++i) {
    if (counts[i]) {
      ++used;
      *only = static_cast<int>(i);
    }
  }
  return used;
}

int TrimmedSize(const std::vector<std::uint8_t>& lengths) {
  int n = static_cast<int>(lengths.size());
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}

// A T or P length table. special >= 0 adds the 2-bit zero count after that many lengths.
void WriteSmallTable(BitWriter& out, const std::vector<std::uint8_t>& lengths, int count_bits,
                     int special) {
  int n = TrimmedSize(lengths);
  out.Put(count_bits, static_cast<unsigned>(n));
  int i = 0;
  while (i < n) {
    int k = lengths[i++];
    if (k <= 6) {
      out.Put(3, static_cast<unsigned>(k));
    } else {
      out.Put(k - 3, (1u << (k - 3)) - 2);
    }
    if (i == special) {
      int start = i;
      while (i < 6 && i < n && lengths[i] == 0) ++i;
      out.Put(2, static_cast<unsigned>(i - start));
    }
  }
}

void WriteBlock(BitWriter& out, const Token* tokens, int count) {
  std::vector<std::uint32_t> c_counts(kNC, 0), p_counts(kNP, 0);
  for (int i = 0; i < count; ++i) {
    ++c_counts[tokens[i].code];
    if (tokens[i].code >= 256) ++p_counts[BitLength(tokens[i].position)];
  }
  out.Put(16, static_cast<unsigned>(count));

  int only_c = 0;
  std::vector<std::uint8_t> c_lengths(kNC, 0);
  std::vector<std::uint16_t> c_codes(kNC, 0);
  if (UsedCount(c_counts, &only_c) == 1) {
    // One symbol: an empty T table, then the symbol itself, coded with zero bits.
    out.Put(kTBit, 0);
    out.Put(kTBit, 0);
    out.Put(kCBit, 0);
    out.Put(kCBit, static_cast<unsigned>(only_c));
  } else {
    c_lengths = HuffmanCodeLengths(c_counts, kMaxCodeLength);
    c_codes = CanonicalCodes(c_lengths);
    int n_c = TrimmedSize(c_lengths);
    std::vector<CLengthItem> items = CLengthItems(c_lengths, n_c);
    std::vector<std::uint32_t> t_counts(kNT, 0);
    for (const CLengthItem& item : items) ++t_counts[item.symbol];
    int only_t = 0;
    std::vector<std::uint8_t> t_lengths(kNT, 0);
    std::vector<std::uint16_t> t_codes(kNT, 0);
    if (UsedCount(t_counts, &only_t) == 1) {
      out.Put(kTBit, 0);
      out.Put(kTBit, static_cast<unsigned>(only_t));
    } else {
      t_lengths = HuffmanCodeLengths(t_counts, kMaxCodeLength);
      t_codes = CanonicalCodes(t_lengths);
      WriteSmallTable(out, t_lengths, kTBit, 3);
    }
    out.Put(kCBit, static_cast<unsigned>(n_c));
    for (const CLengthItem& item : items) {
      out.Put(t_lengths[item.symbol], t_codes[item.symbol]);
      out.Put(item.extra_bits, item.extra);
    }
  }

  int only_p = 0;
  std::vector<std::uint8_t> p_lengths(kNP, 0);
  std::vector<std::uint16_t> p_codes(kNP, 0);
  if (UsedCount(p_counts, &only_p) <= 1) {
    // No match or a single position length: the one-symbol form (symbol 0 when unused).
    out.Put(kPBit, 0);
    out.Put(kPBit, static_cast<unsigned>(only_p));
  } else {
    p_lengths = HuffmanCodeLengths(p_counts, kMaxCodeLength);
    p_codes = CanonicalCodes(p_lengths);
    WriteSmallTable(out, p_lengths, kPBit, -1);
  }

  for (int i = 0; i < count; ++i) {
    const Token& t = tokens[i];
    out.Put(c_lengths[t.code], c_codes[t.code]);
    if (t.code < 256) continue;
    int p = BitLength(t.position);
    out.Put(p_lengths[p], p_codes[p]);
    if (p >= 2) out.Put(p - 1, t.position & ((1u << (p - 1)) - 1));
  }
}

}  // namespace

std::string Lh5Encoder::Encode(std::string_view data, const Lh5Options& options) {
  BitWriter out;
  if (data.empty()) return out.Finish();
  std::vector<Token> tokens = Tokenize(data, options);
  // Blocks of even size, so that the stream never ends with a very short block (one reader
  // fails on those).
  const int total = static_cast<int>(tokens.size());
  int target = std::clamp(options.block_symbols, 1, kMaxBlockSymbols);
  int blocks = std::max(1, (total + target / 2) / target);
  while ((total + blocks - 1) / blocks > kMaxBlockSymbols) ++blocks;
  int done = 0;
  for (int b = 0; b < blocks; ++b) {
    int size = (total - done) / (blocks - b);
    WriteBlock(out, tokens.data() + done, size);
    done += size;
  }
  return out.Finish();
}

}  // namespace archive
