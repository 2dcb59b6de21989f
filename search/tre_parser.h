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

  TREParser(TREScanner& scanner, TREParseTree& tree) : scanner_(scanner), tree_(tree) {}

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

  TREScanner& scanner_;
  TREParseTree& tree_;
  REToken token_;
  int depth_ = 0;
  bool uses_head_ = false;
  bool uses_tail_ = false;
};

}  // namespace search
