#include "platform/pdf_text_map.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <string_view>
#include <vector>

namespace platform {
namespace {

// The ideograph of a CJK radical, or 0 when the code is none or has no single BMP ideograph.
unsigned IdeographOf(unsigned code) {
  if (code < 0x2E80 || code > 0x2FDF) return 0;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) return 0;
  icu::UnicodeString folded;
  if (!nfkc->getDecomposition(static_cast<UChar32>(code), folded)) return 0;
  if (folded.length() != 1) return 0;
  return folded.charAt(0);
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

struct Token {
  size_t begin;  // the first hex digit
  size_t length;
};

// The <hex> tokens of one line.
std::vector<Token> HexTokens(std::string_view line, size_t from, size_t offset) {
  std::vector<Token> tokens;
  for (size_t i = from; i < line.size(); ++i) {
    if (line[i] != '<') continue;
    size_t j = i + 1;
    while (j < line.size() && IsHex(line[j])) ++j;
    if (j < line.size() && line[j] == '>' && j > i + 1)
      tokens.push_back({offset + i + 1, j - i - 1});
    i = j;
  }
  return tokens;
}

int FoldToken(std::string& pdf, const Token& token) {
  if (token.length != 4) return 0;
  const unsigned code = static_cast<unsigned>(std::stoul(pdf.substr(token.begin, 4), nullptr, 16));
  const unsigned ideograph = IdeographOf(code);
  if (ideograph == 0) return 0;
  char hex[5];
  std::snprintf(hex, sizeof hex, "%04X", ideograph);
  pdf.replace(token.begin, 4, hex, 4);
  return 1;
}

}  // namespace

int FoldRadicalsInPdfTextMap(std::string& pdf) {
  int changed = 0;
  for (size_t at = pdf.find("begincmap"); at != std::string::npos; at = pdf.find("begincmap", at)) {
    const size_t end = pdf.find("endcmap", at);
    if (end == std::string::npos) break;
    enum { kNone, kRange, kChar } block = kNone;
    for (size_t line_start = at; line_start < end;) {
      size_t line_end = pdf.find('\n', line_start);
      if (line_end == std::string::npos || line_end > end) line_end = end;
      const std::string_view line(pdf.data() + line_start, line_end - line_start);
      if (line.find("beginbfrange") != std::string_view::npos) {
        block = kRange;
      } else if (line.find("beginbfchar") != std::string_view::npos) {
        block = kChar;
      } else if (line.find("endbfrange") != std::string_view::npos ||
                 line.find("endbfchar") != std::string_view::npos) {
        block = kNone;
      } else if (block == kChar) {
        // <glyph> <target>
        const auto tokens = HexTokens(line, 0, line_start);
        for (size_t i = 1; i < tokens.size(); ++i) changed += FoldToken(pdf, tokens[i]);
      } else if (block == kRange) {
        // <first> <last> [<target> ...], or <first> <last> <target> where only a range of one
        // glyph may be changed, as the target of a longer range counts up from it.
        const size_t bracket = line.find('[');
        if (bracket != std::string_view::npos) {
          for (const Token& t : HexTokens(line, bracket, line_start)) changed += FoldToken(pdf, t);
        } else {
          const auto tokens = HexTokens(line, 0, line_start);
          if (tokens.size() == 3 && pdf.compare(tokens[0].begin, tokens[0].length, pdf,
                                                tokens[1].begin, tokens[1].length) == 0) {
            changed += FoldToken(pdf, tokens[2]);
          }
        }
      }
      line_start = line_end + 1;
    }
    at = end;
  }
  return changed;
}

}  // namespace platform
