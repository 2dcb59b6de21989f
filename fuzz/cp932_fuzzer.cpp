// The code page 932 codec on any bytes, read both as code page 932 and as UTF-8.
// As code page 932: Decode never loses a byte, so Encode(Decode(x)) gives x back, with one
// exception the codec cannot avoid: a character that code page 932 holds twice (the NEC row 13
// and the two IBM extension blocks, search/equivalent_codes.h) comes back in the form Windows
// writes, which is one of its forms of the same length. Encoding what Decode gave is always
// exact, and its decoding is the same text (but for the case of CarriedLeadBeforeCharacter). ToUtf8
// gives valid UTF-8, and when nothing had to be carried, FromUtf8 of it is the same as
// Encode(Decode(x)). As UTF-8: FromUtf8 and Unrepresentable never crash, the result survives a
// second round, and valid UTF-8 goes to UTF-16 and back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/cp932.h"
#include "search/equivalent_codes.h"

namespace {

// Strict UTF-8: shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    auto b = static_cast<unsigned char>(s[i]);
    size_t len = b < 0x80             ? 1
                 : (b & 0xE0) == 0xC0 ? 2
                 : (b & 0xF0) == 0xE0 ? 3
                 : (b & 0xF8) == 0xF0 ? 4
                                      : 0;
    if (len == 0 || i + len > s.size()) return false;
    char32_t c = len == 1 ? b : b & (0x7F >> len);
    for (size_t k = 1; k < len; ++k) {
      auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kLeast[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

bool HasCarriedByte(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0xDC00 && c <= 0xDCFF) return true;
  }
  return false;
}

// A lead byte that was carried because the byte after it made no pair, followed by a
// character. When that character is held twice and comes back in its other form, the new
// first byte can make a pair with the carried byte: "\xEE" + 瀅 ("\xED\xEF") is written
// "\xEE\xFB\x4E", which reads as ＇ + "N". Left as it is: it takes an undecodable byte right
// before one of the rare doubled characters.
bool CarriedLeadBeforeCharacter(std::u16string_view text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] >= 0xDC00 && text[i] <= 0xDCFF && cp932::IsLeadByte(text[i] - 0xDC00) &&
        !(text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDCFF))
      return true;
  }
  return false;
}

// `encoded` is `bytes` but for characters held twice, which may come back in another form.
bool SameButForDoubledCharacters(std::string_view bytes, std::string_view encoded) {
  if (bytes.size() != encoded.size()) return false;
  for (size_t i = 0; i < bytes.size(); ++i) {
    // A lead byte whose pair is no character is carried alone, and the next byte starts anew.
    const bool pair = cp932::IsLeadByte(static_cast<unsigned char>(bytes[i])) &&
                      i + 1 < bytes.size() && !HasCarriedByte(cp932::Decode(bytes.substr(i, 2)));
    if (!pair) {
      if (bytes[i] != encoded[i]) return false;
      continue;
    }
    auto code = static_cast<search::RECode>(static_cast<unsigned char>(bytes[i]) << 8 |
                                            static_cast<unsigned char>(bytes[i + 1]));
    auto back = static_cast<search::RECode>(static_cast<unsigned char>(encoded[i]) << 8 |
                                            static_cast<unsigned char>(encoded[i + 1]));
    if (back != code) {
      const auto& others = search::EquivalentCodes(code);
      if (std::find(others.begin(), others.end(), back) == others.end()) return false;
    }
    ++i;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::u16string text = cp932::Decode(bytes);
  bool exact = true;
  const std::string encoded = cp932::Encode(text, &exact);
  if (!exact || !cp932::Unrepresentable(text).empty()) std::abort();
  if (encoded != bytes && !SameButForDoubledCharacters(bytes, encoded)) std::abort();
  if (cp932::Decode(encoded) != text && !(encoded != bytes && CarriedLeadBeforeCharacter(text)))
    std::abort();
  const std::string utf8 = cp932::ToUtf8(bytes);
  if (!IsValidUtf8(utf8)) std::abort();
  if (!HasCarriedByte(text)) {
    exact = true;
    if (cp932::FromUtf8(utf8, &exact) != encoded || !exact) std::abort();
  }

  // The same bytes as UTF-8 typed by the user or given on the command line.
  exact = true;
  const std::string from = cp932::FromUtf8(bytes, &exact);
  const std::u32string missing = cp932::UnrepresentableUtf8(bytes);
  if (exact != missing.empty()) std::abort();
  if (cp932::Encode(cp932::Decode(from)) != from &&
      !SameButForDoubledCharacters(from, cp932::Encode(cp932::Decode(from))))
    std::abort();
  if (!IsValidUtf8(cp932::ToUtf8(from))) std::abort();
  if (IsValidUtf8(bytes) && cp932::Utf16ToUtf8(cp932::Utf8ToUtf16(bytes)) != bytes) std::abort();
  return 0;
}
