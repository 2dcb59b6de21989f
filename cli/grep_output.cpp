#include "cli/grep_output.h"

#include <algorithm>
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
  out.resize(static_cast<size_t>(Write(text, out.data() + o) - out.data()));
}

char* TCp932ToUtf8::Write(std::string_view text, char* dst) {
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
        std::memcpy(dst, &word, 8);
        dst += 8;
        i += 8;
      }
      while (i < n && p[i] < 0x80) *dst++ = static_cast<char>(p[i++]);
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
    std::memcpy(dst, u->bytes, 3);  // the slack is overwritten or cut off
    dst += u->size;
  }
  return dst;
}

char* TGrepOutput::Room(size_t bytes) {
  if (capacity_ - pending_size_ < bytes) {
    Flush();
    if (capacity_ < bytes) {
      capacity_ = std::max<size_t>(bytes, kFlushSize * 2);
      pending_ = std::make_unique_for_overwrite<char[]>(capacity_);
    }
  }
  return pending_.get() + pending_size_;
}

void TGrepOutput::Line(std::string_view name_utf8, int number, std::string_view text_cp932) {
  // The name, two colons, at most ten digits and a sign, the text and its line feed.
  char* dst = Room(name_utf8.size() + 13 + text_cp932.size() * TCp932ToUtf8::kMaxGrowth);
  dst = std::copy(name_utf8.begin(), name_utf8.end(), dst);
  *dst++ = ':';
  dst = std::to_chars(dst, dst + 11, number).ptr;
  *dst++ = ':';
  dst = converter_.Write(text_cp932, dst);
  *dst++ = '\n';
  Written(dst);
}

void TGrepOutput::Line(std::string_view prefix_utf8, std::string_view text_cp932) {
  char* dst = Room(prefix_utf8.size() + 1 + text_cp932.size() * TCp932ToUtf8::kMaxGrowth);
  dst = std::copy(prefix_utf8.begin(), prefix_utf8.end(), dst);
  dst = converter_.Write(text_cp932, dst);
  *dst++ = '\n';
  Written(dst);
}

void TGrepOutput::Written(const char* end) {
  pending_size_ = static_cast<size_t>(end - pending_.get());
  if (pending_size_ > kFlushSize) Flush();
}

void TGrepOutput::Flush() {
  if (pending_size_ == 0) return;
  out_.write(pending_.get(), static_cast<std::streamsize>(pending_size_));
  pending_size_ = 0;
}

}  // namespace cli
