// TREScanner: reads a pattern one token at a time, one or two bytes per character, in normal
// mode or, between "[" and "]", in class mode; escapes yield plain characters.
#pragma once

#include <cstdint>
#include <string>

namespace search {

using RECode = std::uint16_t;

enum class RETokenKind {
  kChar,
  kRange,  // class mode only
  kAlt,
  kLParen,
  kRParen,
  kStar,
  kPlus,
  kQuestion,
  kClassStart,
  kNegClassStart,
  kClassEnd,
  kAny,
  kHead,
  kTail,
  kEnd,
};

struct REToken {
  RETokenKind kind = RETokenKind::kEnd;
  RECode code = 0;
  RECode upper = 0;  // the upper end of a range
};

class TREScanner {
 public:
  explicit TREScanner(std::string pattern) : pattern_(std::move(pattern)) {}
  virtual ~TREScanner() = default;

  // The next token in the current mode; entering and leaving class mode as the brackets say.
  REToken GetToken();
  virtual REToken NextToken();
  virtual REToken NextClassToken();

  // 1-based position of the next byte to be read (pattern length + 1 at the end).
  int Position() const { return static_cast<int>(pos_) + 1; }
  bool InClass() const { return in_class_; }
  const std::string& Pattern() const { return pattern_; }

  [[noreturn]] void Fail(const char* message) const;

 private:
  bool AtEnd() const { return pos_ >= pattern_.size(); }
  unsigned char Peek(size_t ahead = 0) const {
    return pos_ + ahead < pattern_.size() ? static_cast<unsigned char>(pattern_[pos_ + ahead]) : 0;
  }
  RECode ReadChar();          // a character without escapes
  RECode ReadEscapeOrChar();  // a character, "\" escapes included

  std::string pattern_;
  size_t pos_ = 0;
  bool in_class_ = false;
};

}  // namespace search
