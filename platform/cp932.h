// Conversion between code page 932 (the Shift-JIS of Windows) and Unicode.
// Day files, list files and the settings file are code page 932 bytes; the windows and the
// terminal speak Unicode. Bytes that code page 932 cannot decode are carried as U+DC00 + byte,
// so that decoding and encoding again gives back exactly the bytes that were read.
#pragma once

#include <string>
#include <string_view>

namespace cp932 {

// Decodes code page 932 bytes. Never fails: every undecodable byte becomes U+DC00 + byte.
std::u16string Decode(std::string_view bytes);

// Encodes to code page 932. U+DC00..U+DCFF become the byte they carry. A character that code
// page 932 cannot represent becomes '?' and clears *exact when exact is given.
std::string Encode(std::u16string_view text, bool* exact = nullptr);

// The characters of `text` that code page 932 cannot hold, each once, in the order they first
// appear; a lone surrogate counts as one. Every window (and every import) asks this before it
// saves, so that the user is told which characters would turn into '?'.
std::u32string Unrepresentable(std::u16string_view text);
std::u32string UnrepresentableUtf8(std::string_view utf8);

// UTF-8 forms for the command line. Carried undecodable bytes print as U+FFFD.
std::string ToUtf8(std::string_view bytes);
std::string FromUtf8(std::string_view utf8, bool* exact = nullptr);

// UTF-16 <-> UTF-8 without any code page in between.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

// True when the byte starts a double-byte character.
constexpr bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// ASCII case folding for code page 932 text: letters become upper case, and a double-byte
// character is stepped over whole, so that a trail byte that happens to be a letter (0x41 to
// 0x5A, 0x61 to 0x7A) is never folded. Settings names, archive member names and search
// results compare this way, as Windows compares them.
std::string FoldAsciiCase(std::string_view bytes);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
// Negative, zero or positive as a sorts before, with or after b once both are folded.
int CompareIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace cp932
