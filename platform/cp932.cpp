#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <stdexcept>

namespace cp932 {
namespace {

constexpr char16_t kCarriedByteBase = 0xDC00;

// One iconv descriptor per direction for the whole program; iconv keeps no state between calls
// for a stateless encoding such as CP932 once it is reset. A search on a worker thread converts
// while the window converts too, so each call holds the descriptor's lock.
// Not thread_local: the archiver library, which is loaded and unloaded for every command,
// compiles this file too, and thread-local storage of an unloaded library is left dangling.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns false with errno set where it had to stop.
  bool Run(const char*& in, size_t& in_left, char*& out, size_t& out_left) {
    std::lock_guard<std::mutex> lock(mutex_);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    return iconv(cd_, const_cast<char**>(&in), &in_left, &out, &out_left) !=
           static_cast<size_t>(-1);
  }

 private:
  iconv_t cd_;
  std::mutex mutex_;
};

Converter& Decoder() {
  static Converter c("UTF-16LE", "CP932");
  return c;
}

Converter& Encoder() {
  static Converter c("CP932", "UTF-16LE");
  return c;
}

bool IsAsciiOnly(std::string_view s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::u16string Decode(std::string_view bytes) {
  std::u16string result;
  if (IsAsciiOnly(bytes)) {
    result.assign(bytes.begin(), bytes.end());
    return result;
  }
  result.reserve(bytes.size());
  std::u16string buffer(bytes.size() + 4, u'\0');
  const char* in = bytes.data();
  size_t in_left = bytes.size();
  while (in_left > 0) {
    char* out = reinterpret_cast<char*>(buffer.data());
    size_t out_left = buffer.size() * sizeof(char16_t);
    bool done = Decoder().Run(in, in_left, out, out_left);
    size_t produced = (buffer.size() * sizeof(char16_t) - out_left) / sizeof(char16_t);
    for (size_t i = 0; i < produced; ++i) {
      // iconv writes little-endian units; rebuild them so the code is right on any host.
      const auto* p = reinterpret_cast<const unsigned char*>(&buffer[i]);
      result.push_back(static_cast<char16_t>(p[0] | (p[1] << 8)));
    }
    if (done) break;
    if (errno == E2BIG) continue;
    // An undecodable byte (EILSEQ) or a lead byte cut off at the end (EINVAL): carry the byte
    // itself and go on with the next one.
    result.push_back(static_cast<char16_t>(kCarriedByteBase + static_cast<unsigned char>(*in)));
    ++in;
    --in_left;
  }
  return result;
}

namespace {

// Encodes `text`; every character without a code page 932 form becomes '?' and is handed to
// `missing` as its code point (a lone surrogate as itself).
template <typename Missing>
std::string EncodeWith(std::u16string_view text, Missing&& missing) {
  std::string result;
  result.reserve(text.size() * 2);
  size_t start = 0;
  auto flush = [&](size_t end) {
    if (end <= start) return;
    std::string le;
    le.reserve((end - start) * 2);
    for (size_t i = start; i < end; ++i) {
      le.push_back(static_cast<char>(text[i] & 0xFF));
      le.push_back(static_cast<char>(text[i] >> 8));
    }
    const char* in = le.data();
    size_t in_left = le.size();
    std::string buffer(le.size() + 8, '\0');
    while (in_left > 0) {
      char* out = buffer.data();
      size_t out_left = buffer.size();
      bool done = Encoder().Run(in, in_left, out, out_left);
      result.append(buffer.data(), buffer.size() - out_left);
      if (done) break;
      if (errno == E2BIG) continue;
      // A character without a code page 932 form (or a lone surrogate): one '?' per unit,
      // two units for a surrogate pair.
      size_t skip = 2;
      char32_t code = static_cast<unsigned char>(in[0]) | (static_cast<unsigned char>(in[1]) << 8);
      if (in_left >= 4) {
        unsigned next =
            static_cast<unsigned char>(in[2]) | (static_cast<unsigned char>(in[3]) << 8);
        if (code >= 0xD800 && code <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
          skip = 4;
          code = 0x10000 + ((code - 0xD800) << 10) + (next - 0xDC00);
        }
      }
      result.push_back('?');
      missing(code);
      in += skip;
      in_left -= skip;
    }
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      flush(i);
      result.push_back(static_cast<char>(c));
      start = i + 1;
    } else if (c >= kCarriedByteBase && c <= kCarriedByteBase + 0xFF) {
      flush(i);
      result.push_back(static_cast<char>(c - kCarriedByteBase));
      start = i + 1;
    }
  }
  flush(text.size());
  return result;
}

}  // namespace

std::string Encode(std::u16string_view text, bool* exact) {
  return EncodeWith(text, [exact](char32_t) {
    if (exact) *exact = false;
  });
}

std::u32string Unrepresentable(std::u16string_view text) {
  std::u32string found;
  EncodeWith(text, [&found](char32_t code) {
    if (found.find(code) == std::u32string::npos) found.push_back(code);
  });
  return found;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3);
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    char32_t c;
    size_t len;
    if (b < 0x80) {
      c = b, len = 1;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F, len = 2;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F, len = 3;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07, len = 4;
    } else {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    bool ok = i + len <= s.size();
    for (size_t k = 1; ok && k < len; ++k) {
      unsigned char t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    i += len;
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  if (IsAsciiOnly(bytes)) return std::string(bytes);
  return Utf16ToUtf8(Decode(bytes));
}

std::u32string UnrepresentableUtf8(std::string_view utf8) {
  if (IsAsciiOnly(utf8)) return {};
  return Unrepresentable(Utf8ToUtf16(utf8));
}

std::string FromUtf8(std::string_view utf8, bool* exact) {
  if (IsAsciiOnly(utf8)) return std::string(utf8);
  return Encode(Utf8ToUtf16(utf8), exact);
}

namespace {

unsigned char UpperAscii(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
}

}  // namespace

std::string FoldAsciiCase(std::string_view bytes) {
  std::string folded(bytes);
  for (size_t i = 0; i < folded.size(); ++i) {
    auto c = static_cast<unsigned char>(folded[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else {
      folded[i] = static_cast<char>(UpperAscii(c));
    }
  }
  return folded;
}

int CompareIgnoreAsciiCase(std::string_view a, std::string_view b) {
  // While the texts agree they are in step, so the byte at i is a trail byte in both or in
  // neither.
  bool trail = false;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (!trail) {
      x = UpperAscii(x);
      y = UpperAscii(y);
    }
    if (x != y) return x < y ? -1 : 1;
    trail = !trail && IsLeadByte(static_cast<unsigned char>(a[i]));
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoreAsciiCase(a, b) == 0;
}

}  // namespace cp932
