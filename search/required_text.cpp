#include "search/required_text.h"

#include <unordered_map>
#include <vector>

#include "search/tre_dfa.h"

namespace search {

namespace {

// What is known of a subtree: the one string it matches (when exact), the fixed text at its
// start and at its end, and a string every match contains.
struct Facts {
  bool exact = false;
  std::string text;  // when exact
  std::string prefix, suffix, must;
};

const std::string& Longest(const std::string& a, const std::string& b) {
  return b.size() > a.size() ? b : a;
}

}  // namespace

std::string RequiredText(TRENode* root) {
  std::unordered_map<const TRENode*, Facts> facts;
  std::vector<std::pair<TRENode*, bool>> work{{root, false}};
  while (!work.empty()) {
    auto [node, expanded] = work.back();
    work.pop_back();
    if (facts.count(node)) continue;
    bool binary = node->kind == RENodeKind::kConcat || node->kind == RENodeKind::kAlt;
    if (!expanded && (binary || node->kind == RENodeKind::kRepeat)) {
      work.emplace_back(node, true);
      if (node->left) work.emplace_back(node->left, false);
      if (binary && node->right) work.emplace_back(node->right, false);
      continue;
    }
    Facts f;
    switch (node->kind) {
      case RENodeKind::kLeaf:
        if (node->low == node->high && IsTextCode(node->low) && node->low != 10) {
          f.exact = true;
          AppendCode(f.text, node->low);
          f.prefix = f.suffix = f.must = f.text;
        }
        break;
      case RENodeKind::kEmpty:
        f.exact = true;
        break;
      case RENodeKind::kConcat: {
        const Facts& l = facts[node->left];
        const Facts& r = facts[node->right];
        if (l.exact && r.exact) {
          f.exact = true;
          f.text = l.text + r.text;
          f.prefix = f.suffix = f.must = f.text;
          break;
        }
        f.prefix = l.exact ? l.text + r.prefix : l.prefix;
        f.suffix = r.exact ? l.suffix + r.text : r.suffix;
        f.must = Longest(Longest(l.must, r.must), l.suffix + r.prefix);
        f.must = Longest(Longest(f.must, f.prefix), f.suffix);
        break;
      }
      case RENodeKind::kAlt: {
        const Facts& l = facts[node->left];
        const Facts& r = facts[node->right];
        if (l.exact && r.exact && l.text == r.text) f = l;
        break;
      }
      default:  // repetition, anchors, nothing: no fixed text
        break;
    }
    facts[node] = std::move(f);
  }
  return facts[root].must;
}

}  // namespace search
