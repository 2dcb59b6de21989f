// TREParser: builds the parse tree of a pattern from the scanner's tokens (alternation of
// branches, branches of factors, a factor with at most one of * + ?), keeping the open
// parentheses on a stack of its own.
#pragma once

#include "search/tre_parse_tree.h"
#include "search/tre_scanner.h"

namespace search {

class TREParser {
 public:
  // Levels of parentheses (the whole pattern is the first). Each open level costs a frame of two
  // pointers on the heap, none on the stack, so the bound is a memory budget: 1.6 MB for the
  // frames, and the pattern is 200 KB at least. Deeper nesting is refused.
  static constexpr int kMaxDepth = 100'000;

  // With `expand_equivalents`, a character that code page 932 holds in more than one form
  // (see equivalent_codes.h) matches every form, in a class and a range too.
  TREParser(TREScanner& scanner, TREParseTree& tree, bool expand_equivalents = true)
      : scanner_(scanner), tree_(tree), expand_equivalents_(expand_equivalents) {}

  // Parses the whole pattern; throws ERegExpParser on a fault.
  TRENode* Run();

  bool UsesHead() const { return uses_head_; }
  bool UsesTail() const { return uses_tail_; }

 private:
  void Advance() { token_ = scanner_.GetToken(); }
  // The factor made of `primary` and the * + or ? after it, if any.
  TRENode* Postfix(TRENode* primary);
  // A character, class, "." or anchor (never a parenthesis).
  TRENode* Primary();
  TRENode* Class(bool negated);
  // The leaf of [low, high], with the other forms of its characters beside it.
  TRENode* Chars(RECode low, RECode high);

  TREScanner& scanner_;
  TREParseTree& tree_;
  REToken token_;
  bool expand_equivalents_;
  bool uses_head_ = false;
  bool uses_tail_ = false;
};

}  // namespace search
