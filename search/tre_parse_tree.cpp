#include "search/tre_parse_tree.h"

#include <algorithm>
#include <stdexcept>

namespace search {

TRENode* TREParseTree::MakeLeaf(RECode low, RECode high) {
  auto key = std::make_pair(low, high);
  auto it = leaf_index_.find(key);
  if (it != leaf_index_.end()) return it->second;
  TRENode* node = MakeNode(RENodeKind::kLeaf);
  node->low = low;
  node->high = high;
  leaves_.push_back(node);
  leaf_index_.emplace(key, node);
  return node;
}

TRENode* TREParseTree::MakeNode(RENodeKind kind, TRENode* left, TRENode* right) {
  nodes_.push_back(std::make_unique<TRENode>());
  TRENode* node = nodes_.back().get();
  node->kind = kind;
  node->left = left;
  node->right = right;
  return node;
}

TRENode* TREParseTree::MakeAnyChar() {
  TRENode* node = MakeLeaf(kAnyCharRanges[0].first, kAnyCharRanges[0].second);
  for (int i = 1; i < 3; ++i) {
    node = MakeNode(RENodeKind::kAlt, node,
                    MakeLeaf(kAnyCharRanges[i].first, kAnyCharRanges[i].second));
  }
  return node;
}

// Splitting every pair of overlapping leaves until none overlap ends with the leaves cut at
// every range boundary that falls inside them, so the cuts are computed in one pass from the
// sorted boundaries instead of pair by pair.
void TREParseTree::Partition(const std::vector<RECode>& extra) {
  std::vector<std::uint32_t> cuts;
  cuts.reserve(leaves_.size() * 2 + extra.size() * 2);
  for (const TRENode* leaf : leaves_) {
    cuts.push_back(leaf->low);
    cuts.push_back(std::uint32_t{leaf->high} + 1);
  }
  for (RECode code : extra) {
    cuts.push_back(code);
    cuts.push_back(std::uint32_t{code} + 1);
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  std::vector<TRENode*> original = leaves_;
  std::vector<TRENode*> split;
  for (TRENode* leaf : original) {
    auto first = std::upper_bound(cuts.begin(), cuts.end(), std::uint32_t{leaf->low});
    auto last = std::lower_bound(cuts.begin(), cuts.end(), std::uint32_t{leaf->high} + 1);
    if (first >= last) continue;  // no cut inside: the leaf stays whole
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pieces;
    std::uint32_t low = leaf->low;
    for (auto it = first; it <= last; ++it) {
      std::uint32_t end = (it == last) ? std::uint32_t{leaf->high} + 1 : *it;
      if (end <= low) throw std::logic_error("TREParseTree : 致命的エラー");
      pieces.emplace_back(low, end - 1);
      low = end;
    }
    // The leaf leaves the leaf list and becomes, in place, the alternation of its pieces, so
    // that every parent sees the pieces.
    leaf_index_.erase({leaf->low, leaf->high});
    split.push_back(leaf);
    std::vector<TRENode*> nodes;
    for (auto [piece_low, piece_high] : pieces) {
      nodes.push_back(MakeLeaf(static_cast<RECode>(piece_low), static_cast<RECode>(piece_high)));
    }
    TRENode* chain = nodes[0];
    for (size_t i = 1; i + 1 < nodes.size(); ++i)
      chain = MakeNode(RENodeKind::kAlt, chain, nodes[i]);
    leaf->kind = RENodeKind::kAlt;
    leaf->left = chain;
    leaf->right = nodes.back();
  }
  if (!split.empty()) {
    std::erase_if(leaves_, [](const TRENode* node) { return node->kind != RENodeKind::kLeaf; });
  }
}

}  // namespace search
