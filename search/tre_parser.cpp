#include "search/tre_parser.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "search/equivalent_codes.h"
#include "search/reg_exp_parser_error.h"

namespace search {

namespace msg = regexp_message;

TRENode* TREParser::Chars(RECode low, RECode high) {
  TRENode* node = tree_.MakeLeaf(low, high);
  if (!expand_equivalents_) return node;
  for (auto [other_low, other_high] : EquivalentRanges(low, high)) {
    node = tree_.MakeNode(RENodeKind::kAlt, node, tree_.MakeLeaf(other_low, other_high));
  }
  return node;
}

// The parentheses are kept on a stack of frames of our own rather than by recursion, so that
// deep nesting costs a frame on the heap a level and never the caller's stack (the search runs
// on threads with stacks smaller than the main one's).
TRENode* TREParser::Run() {
  // The alternatives finished so far at one level of parentheses, and the branch being read.
  struct Frame {
    TRENode* alternatives = nullptr;
    TRENode* branch = nullptr;
  };
  auto close_branch = [&](Frame& f) {
    TRENode* branch = f.branch ? f.branch : tree_.MakeNode(RENodeKind::kEmpty);
    f.alternatives =
        f.alternatives ? tree_.MakeNode(RENodeKind::kAlt, f.alternatives, branch) : branch;
    f.branch = nullptr;
  };
  auto append = [&](Frame& f, TRENode* factor) {
    f.branch = f.branch ? tree_.MakeNode(RENodeKind::kConcat, f.branch, factor) : factor;
  };
  std::vector<Frame> frames(1);
  Advance();
  for (;;) {
    switch (token_.kind) {
      case RETokenKind::kLParen:
        Advance();
        if (static_cast<int>(frames.size()) >= kMaxDepth) scanner_.Fail(msg::kTooDeep);
        frames.emplace_back();
        break;
      case RETokenKind::kAlt:
        close_branch(frames.back());
        Advance();
        break;
      case RETokenKind::kRParen:
      case RETokenKind::kEnd: {
        close_branch(frames.back());
        TRENode* group = frames.back().alternatives;
        if (frames.size() == 1) {
          if (token_.kind != RETokenKind::kEnd) scanner_.Fail(msg::kExtraChars);
          return group;
        }
        if (token_.kind != RETokenKind::kRParen) scanner_.Fail(msg::kNeedRightParen);
        frames.pop_back();
        Advance();
        append(frames.back(), Postfix(group));
        break;
      }
      default:
        append(frames.back(), Postfix(Primary()));
        break;
    }
  }
}

static bool IsPostfix(RETokenKind kind) {
  return kind == RETokenKind::kStar || kind == RETokenKind::kPlus || kind == RETokenKind::kQuestion;
}

TRENode* TREParser::Postfix(TRENode* primary) {
  if (!IsPostfix(token_.kind)) return primary;
  RETokenKind op = token_.kind;
  Advance();
  if (IsPostfix(token_.kind)) scanner_.Fail(msg::kNeedCharOrParen);
  switch (op) {
    case RETokenKind::kStar:
      return tree_.MakeNode(RENodeKind::kRepeat, primary);
    case RETokenKind::kPlus:
      // The primary's subtree is shared by both parents.
      return tree_.MakeNode(RENodeKind::kConcat, primary,
                            tree_.MakeNode(RENodeKind::kRepeat, primary));
    default:
      return tree_.MakeNode(RENodeKind::kAlt, primary, tree_.MakeNode(RENodeKind::kEmpty));
  }
}

TRENode* TREParser::Primary() {
  TRENode* node = nullptr;
  switch (token_.kind) {
    case RETokenKind::kChar:
      node = Chars(token_.code, token_.code);
      Advance();
      return node;
    case RETokenKind::kClassStart:
    case RETokenKind::kNegClassStart:
      return Class(token_.kind == RETokenKind::kNegClassStart);
    case RETokenKind::kAny:
      Advance();
      return tree_.MakeAnyChar();
    case RETokenKind::kHead:
      uses_head_ = true;
      node = tree_.MakeNode(RENodeKind::kHead);
      node->low = node->high = '^';
      Advance();
      return node;
    case RETokenKind::kTail:
      uses_tail_ = true;
      node = tree_.MakeNode(RENodeKind::kTail);
      node->low = node->high = '$';
      Advance();
      return node;
    default:
      scanner_.Fail(msg::kNeedCharOrParen);
  }
}

TRENode* TREParser::Class(bool negated) {
  std::vector<std::pair<RECode, RECode>> items;
  for (;;) {
    Advance();
    if (token_.kind == RETokenKind::kClassEnd) break;
    items.emplace_back(token_.code, token_.upper);
  }
  if (items.empty()) scanner_.Fail(msg::kBadClass);
  TRENode* node = nullptr;
  if (!negated) {
    for (auto [low, high] : items) {
      TRENode* leaf = Chars(low, high);
      node = node ? tree_.MakeNode(RENodeKind::kAlt, node, leaf) : leaf;
    }
  } else {
    // Every form of an excluded character is excluded.
    if (expand_equivalents_) {
      for (size_t i = 0, n = items.size(); i < n; ++i) {
        for (auto range : EquivalentRanges(items[i].first, items[i].second)) items.push_back(range);
      }
    }
    // The any-character set with every item's range taken out of it. The merged items are the
    // union the disjoint pieces would cover, so the remaining ranges are the same.
    std::sort(items.begin(), items.end());
    std::vector<std::pair<std::uint32_t, std::uint32_t>> merged;
    for (auto [low, high] : items) {
      if (!merged.empty() && low <= merged.back().second + 1) {
        merged.back().second = std::max<std::uint32_t>(merged.back().second, high);
      } else {
        merged.emplace_back(low, high);
      }
    }
    for (auto [any_low, any_high] : kAnyCharRanges) {
      std::uint32_t low = any_low;
      for (auto [item_low, item_high] : merged) {
        if (item_high < low || item_low > any_high) continue;
        if (item_low > low) {
          TRENode* leaf =
              tree_.MakeLeaf(static_cast<RECode>(low), static_cast<RECode>(item_low - 1));
          node = node ? tree_.MakeNode(RENodeKind::kAlt, node, leaf) : leaf;
        }
        low = item_high + 1;
      }
      if (low <= any_high) {
        TRENode* leaf = tree_.MakeLeaf(static_cast<RECode>(low), any_high);
        node = node ? tree_.MakeNode(RENodeKind::kAlt, node, leaf) : leaf;
      }
    }
    // Nothing left: a class that no character matches.
    if (!node) node = tree_.MakeNode(RENodeKind::kNothing);
  }
  Advance();
  return node;
}

}  // namespace search
