// TREParseTree: the parse tree of one pattern. Leaves are character ranges, never two with the
// same range; Partition() splits overlapping leaves so that every character belongs to at most
// one leaf, which lets the automaton treat each leaf as one input symbol.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "search/tre_scanner.h"

namespace search {

enum class RENodeKind {
  kLeaf,
  kHead,  // "^"; holds the code of the character "^"
  kTail,  // "$"; holds the code of the character "$"
  kConcat,
  kAlt,
  kRepeat,
  kEmpty,
  kNothing,  // matches no character at all (a negated class that leaves no range)
};

struct TRENode {
  RENodeKind kind = RENodeKind::kEmpty;
  RECode low = 0, high = 0;  // leaf range, or the anchor's own character
  TRENode* left = nullptr;
  TRENode* right = nullptr;
};

class TREParseTree {
 public:
  TREParseTree() = default;
  virtual ~TREParseTree() = default;
  TREParseTree(const TREParseTree&) = delete;
  TREParseTree& operator=(const TREParseTree&) = delete;

  // The leaf of a range, made once per distinct range.
  TRENode* MakeLeaf(RECode low, RECode high);
  TRENode* MakeNode(RENodeKind kind, TRENode* left = nullptr, TRENode* right = nullptr);
  // The alternation of the ranges of the any-character set (no NUL, line feed or return).
  virtual TRENode* MakeAnyChar();

  // Makes all leaves disjoint. `extra` are single codes that become labels of their own in the
  // automaton (the anchors), so that leaves are split around them too.
  void Partition(const std::vector<RECode>& extra = {});

  const std::vector<TRENode*>& Leaves() const { return leaves_; }
  size_t NodeCount() const { return nodes_.size(); }

 private:
  std::vector<std::unique_ptr<TRENode>> nodes_;
  std::vector<TRENode*> leaves_;
  std::map<std::pair<RECode, RECode>, TRENode*> leaf_index_;
};

// The any-character set: every code but NUL, line feed and carriage return.
inline constexpr std::pair<RECode, RECode> kAnyCharRanges[3] = {{1, 9}, {11, 12}, {14, 0xFCFC}};

}  // namespace search
