// TREParser: recursive descent over the scanner's tokens, building the parse tree of a pattern
// (alternation of branches, branches of factors, a factor with at most one of * + ?).
#pragma once

#include "search/tre_parse_tree.h"
#include "search/tre_scanner.h"

namespace search {

class TREParser {
 public:
  // Deeper nesting of parentheses than this is refused rather than risking the stack.
  static constexpr int kMaxDepth = 400;

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
  bool AtBranchEnd() const;
  TRENode* Expression();
  TRENode* Branch();
  TRENode* Factor();
  TRENode* Primary();
  TRENode* Class(bool negated);
  // The leaf of [low, high], with the other forms of its characters beside it.
  TRENode* Chars(RECode low, RECode high);

  TREScanner& scanner_;
  TREParseTree& tree_;
  REToken token_;
  bool expand_equivalents_;
  int depth_ = 0;
  bool uses_head_ = false;
  bool uses_tail_ = false;
};

}  // namespace search
