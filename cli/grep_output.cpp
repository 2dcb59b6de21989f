#include "cli/grep_output.h"

#include <charconv>
#include <cstring>

#include "platform/cp932.h"

namespace cli {

const TCp932ToUtf8::Row& TCp932ToUtf8::RowOf(unsigned lead) {
  if (filled_[lead]) return *filled_[lead];
  std::unique_ptr<Row>& row = rows_[lead];
  row = std::make_unique<Row>();
  filled_[lead] = row.get();
  for (unsigned t = 0; t < 256; ++t) {
    std::string bytes;
    if (lead != 0) bytes += static_cast<char>(lead);
    bytes += static_cast<char>(t);
    std::u16string decoded = cp932::Decode(bytes);
    // A pair counts only when the codec reads it as one character; a single byte always
    // converts (to U+FFFD when the codec carries it undecoded).
    if (lead != 0 && (decoded.size() != 1 || (decoded[0] >= 0xDC00 && decoded[0] <= 0xDCFF))) {
      continue;
    }
    std::string utf8 = cp932::ToUtf8(bytes);
    if (utf8.size() > kMaxGrowth) continue;  // cannot happen for a code page of the BMP
    (*row)[t].size = static_cast<std::uint8_t>(utf8.size());
    std::memcpy((*row)[t].bytes, utf8.data(), utf8.size());
  }
  return *row;
}

void TCp932ToUtf8::Append(std::string_view text, std::string& out) {
  // Room for the longest possible result first, so that the loop never has to check.
  size_t o = out.size();
  out.resize(o + text.size() * kMaxGrowth);
  char* dst = out.data();
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  const Row& singles = RowOf(0);
  for (size_t i = 0; i < n;) {
    unsigned char b = p[i];
    if (b < 0x80) {
      // ASCII eight bytes at a time (dates, separators' blanks, English text), then byte by
      // byte up to the next other byte; Japanese text does not pay for the test of a word.
      while (i + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        if ((word & 0x8080808080808080ull) != 0) break;
        std::memcpy(dst + o, &word, 8);
        o += 8;
        i += 8;
      }
      while (i < n && p[i] < 0x80) dst[o++] = static_cast<char>(p[i++]);
      continue;
    }
    const Utf8Of* u = nullptr;
    if (cp932::IsLeadByte(b) && i + 1 < n) {
      const Row* row = filled_[b];
      if (!row) row = &RowOf(b);
      const Utf8Of& pair = (*row)[p[i + 1]];
      if (pair.size != 0) {
        u = &pair;
        i += 2;
      }
    }
    if (!u) {
      u = &singles[b];
      ++i;
    }
    std::memcpy(dst + o, u->bytes, 3);  // the slack is overwritten or cut off
    o += u->size;
  }
  out.resize(o);
}

void TGrepOutput::Line(std::string_view name_utf8, int number, std::string_view text_cp932) {
  pending_ += name_utf8;
  pending_ += ':';
  char digits[16];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  pending_.append(digits, static_cast<size_t>(end - digits));
  pending_ += ':';
  Line(std::string_view(), text_cp932);
}

void TGrepOutput::Line(std::string_view prefix_utf8, std::string_view text_cp932) {
  pending_ += prefix_utf8;
  converter_.Append(text_cp932, pending_);
  pending_ += '\n';
  if (pending_.size() > (1 << 16)) Flush();
}

void TGrepOutput::Flush() {
  if (pending_.empty()) return;
  out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
}

}  // namespace cli
