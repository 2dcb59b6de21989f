#include "search/tre_scanner.h"

#include "platform/cp932.h"
#include "search/reg_exp_parser_error.h"

namespace search {

namespace msg = regexp_message;

void TREScanner::Fail(const char* message) const {
  throw ERegExpParser(message, Position());
}

REToken TREScanner::GetToken() {
  if (in_class_) {
    REToken token = NextClassToken();
    if (token.kind == RETokenKind::kClassEnd) in_class_ = false;
    return token;
  }
  REToken token = NextToken();
  if (token.kind == RETokenKind::kClassStart || token.kind == RETokenKind::kNegClassStart) {
    in_class_ = true;
  }
  return token;
}

RECode TREScanner::ReadChar() {
  unsigned char c = Peek();
  ++pos_;
  if (cp932::IsLeadByte(c)) {
    if (AtEnd()) Fail(msg::kBadDoubleByte);
    unsigned char trail = Peek();
    ++pos_;
    return static_cast<RECode>(c << 8 | trail);
  }
  return c;
}

static int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

RECode TREScanner::ReadEscapeOrChar() {
  if (Peek() != '\\') return ReadChar();
  ++pos_;
  if (AtEnd()) Fail(msg::kNothingAfterBackslash);
  unsigned char c = Peek();
  switch (c) {
    case 'b':
      ++pos_;
      return 8;
    case 'n':
      ++pos_;
      return 10;
    case 'r':
      ++pos_;
      return 13;
    case 't':
      ++pos_;
      return 9;
    case 'x': {
      ++pos_;
      unsigned value = 0;
      int digits = 0;
      while (digits < 4 && !AtEnd() && HexValue(Peek()) >= 0) {
        value = value * 16 + static_cast<unsigned>(HexValue(Peek()));
        ++pos_;
        ++digits;
      }
      if (digits == 0) Fail(msg::kBadHex);
      return static_cast<RECode>(value);
    }
    default:
      break;
  }
  if (c >= '0' && c <= '7') {
    unsigned value = 0;
    int digits = 0;
    while (digits < 6 && !AtEnd() && Peek() >= '0' && Peek() <= '7') {
      value = value * 8 + (Peek() - '0');
      ++pos_;
      ++digits;
    }
    if (value > 0xFFFF) Fail(msg::kBadOctal);
    return static_cast<RECode>(value);
  }
  return ReadChar();
}

REToken TREScanner::NextToken() {
  REToken token;
  if (AtEnd()) return token;
  unsigned char c = Peek();
  RETokenKind kind;
  switch (c) {
    case '|':
      kind = RETokenKind::kAlt;
      break;
    case '(':
      kind = RETokenKind::kLParen;
      break;
    case ')':
      kind = RETokenKind::kRParen;
      break;
    case '*':
      kind = RETokenKind::kStar;
      break;
    case '+':
      kind = RETokenKind::kPlus;
      break;
    case '?':
      kind = RETokenKind::kQuestion;
      break;
    case '.':
      kind = RETokenKind::kAny;
      break;
    case '^':
      kind = RETokenKind::kHead;
      break;
    case '$':
      kind = RETokenKind::kTail;
      break;
    case ']':
      kind = RETokenKind::kClassEnd;
      break;
    case '[':
      ++pos_;
      if (Peek() == '^' && !AtEnd()) {
        ++pos_;
        token.kind = RETokenKind::kNegClassStart;
      } else {
        token.kind = RETokenKind::kClassStart;
      }
      return token;
    default:
      token.kind = RETokenKind::kChar;
      token.code = token.upper = ReadEscapeOrChar();
      return token;
  }
  ++pos_;
  token.kind = kind;
  token.code = token.upper = c;
  return token;
}

REToken TREScanner::NextClassToken() {
  REToken token;
  if (AtEnd()) Fail(msg::kNeedRightBracket);
  if (Peek() == ']') {
    ++pos_;
    token.kind = RETokenKind::kClassEnd;
    token.code = token.upper = ']';
    return token;
  }
  RECode low = ReadEscapeOrChar();
  token.kind = RETokenKind::kChar;
  token.code = token.upper = low;
  // "-" makes a range unless "]" (or the end, where the class is unclosed anyway) follows it.
  if (Peek() == '-' && pos_ + 1 < pattern_.size() && Peek(1) != ']') {
    ++pos_;
    RECode high = ReadEscapeOrChar();
    if (high < low) Fail(msg::kBadRange);
    token.kind = RETokenKind::kRange;
    token.upper = high;
  }
  return token;
}

}  // namespace search
