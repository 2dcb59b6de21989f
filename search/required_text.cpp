#include "search/required_text.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "platform/cp932.h"
#include "search/tre_dfa.h"

namespace search {

namespace {

// What is known of a subtree: the one string it matches (when exact), the fixed text at its
// start and at its end, and a string every match contains.
using AnyOf = std::vector<std::string>;

struct Facts {
  bool exact = false;
  std::string text;  // when exact
  std::string prefix, suffix;
  AnyOf must;
  bool sufficient = false;  // the subtree matches exactly the strings of `must`
};

constexpr size_t kMaxAlternatives = 8;
// Longer texts skip no better, and keeping the whole of each for every node of a long
// concatenation would take memory in the square of the pattern's length.
constexpr size_t kMaxText = 256;

// The longest start of `text` of at most kMaxText bytes that ends on a character boundary.
std::string Start(const std::string& text) {
  size_t end = 0;
  while (end < text.size()) {
    size_t size = cp932::IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + size > kMaxText) break;
    end += size;
  }
  return text.substr(0, end);
}

// Keeps the facts within kMaxText: a longer exact text is no longer treated as exact, a longer
// prefix is cut, a longer suffix dropped (its start might not be a character's), and a longer
// required text is replaced by its start, which every match contains as well.
void Cap(Facts& f) {
  if (f.exact && f.text.size() > kMaxText) {
    f.exact = false;
    f.text.clear();
  }
  if (f.prefix.size() > kMaxText) f.prefix = Start(f.prefix);
  if (f.suffix.size() > kMaxText) f.suffix.clear();
  for (std::string& text : f.must) {
    if (text.size() > kMaxText) {
      text = Start(text);
      f.sufficient = false;
    }
  }
}

// A set is as good as its shortest string; fewer strings break the tie.
bool Better(const AnyOf& a, const AnyOf& b) {
  auto shortest = [](const AnyOf& set) {
    size_t n = set.empty() ? 0 : set[0].size();
    for (const std::string& s : set) n = std::min(n, s.size());
    return n;
  };
  size_t sa = shortest(a), sb = shortest(b);
  if (sa != sb) return sa > sb;
  return !a.empty() && (b.empty() || a.size() < b.size());
}

const AnyOf& Best(const AnyOf& a, const AnyOf& b) {
  return Better(b, a) ? b : a;
}

AnyOf One(const std::string& text) {
  return text.empty() ? AnyOf{} : AnyOf{text};
}

}  // namespace

std::vector<std::string> RequiredTexts(TRENode* root, bool* sufficient) {
  std::unordered_map<const TRENode*, Facts> facts;
  // A child whose facts were dropped (see below) counts as unknown, which is always safe.
  static const Facts unknown;
  auto known = [&](const TRENode* node) -> const Facts& {
    auto it = facts.find(node);
    return it == facts.end() ? unknown : it->second;
  };
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
          f.prefix = f.suffix = f.text;
          f.must = One(f.text);
        }
        break;
      case RENodeKind::kEmpty:
        f.exact = true;
        break;
      case RENodeKind::kConcat: {
        const Facts& l = known(node->left);
        const Facts& r = known(node->right);
        if (l.exact && r.exact) {
          f.exact = true;
          f.text = l.text + r.text;
          f.prefix = f.suffix = f.text;
          f.must = One(f.text);
          break;
        }
        f.prefix = l.exact ? l.text + r.prefix : l.prefix;
        f.suffix = r.exact ? l.suffix + r.text : r.suffix;
        f.must = Best(Best(l.must, r.must), One(l.suffix + r.prefix));
        f.must = Best(Best(f.must, One(f.prefix)), One(f.suffix));
        // Two sides that each match only fixed strings ("髙橋", where 髙 has two forms) match
        // only their joined strings: as long as they are few, they are the whole pattern.
        auto strings = [](const Facts& side) -> const AnyOf* {
          static const AnyOf none;
          if (side.sufficient) return &side.must;
          return side.exact ? nullptr : &none;
        };
        const AnyOf* ls = strings(l);
        const AnyOf* rs = strings(r);
        if (ls && rs && ls->empty() && rs->empty()) break;
        AnyOf left = ls ? *ls : AnyOf{l.text};
        AnyOf right = rs ? *rs : AnyOf{r.text};
        if (left.empty() || right.empty() || left.size() * right.size() > kMaxAlternatives) break;
        AnyOf joined;
        for (const std::string& a : left) {
          for (const std::string& b : right) {
            std::string both = a + b;
            if (std::find(joined.begin(), joined.end(), both) == joined.end())
              joined.push_back(both);
          }
        }
        f.must = std::move(joined);
        f.sufficient = true;
        break;
      }
      case RENodeKind::kAlt: {
        const Facts& l = known(node->left);
        const Facts& r = known(node->right);
        if (l.exact && r.exact && l.text == r.text) {
          f = l;
        } else if (!l.must.empty() && !r.must.empty()) {
          // Either side's strings will do; keep the set small enough to search quickly.
          for (const AnyOf* side : {&l.must, &r.must}) {
            for (const std::string& text : *side) {
              if (std::find(f.must.begin(), f.must.end(), text) == f.must.end())
                f.must.push_back(text);
            }
          }
          if (f.must.size() > kMaxAlternatives) {
            f.must.clear();
          } else {
            auto fixed = [](const Facts& side) {
              return (side.exact && !side.text.empty()) || side.sufficient;
            };
            f.sufficient = fixed(l) && fixed(r);
          }
        }
        break;
      }
      default:  // repetition, anchors, nothing: no fixed text
        break;
    }
    Cap(f);
    if (binary) {
      // An inner child's facts are needed by its parent only (one that a later parent shares,
      // as "+" does, counts as unknown there). Leaves are shared by every use of their range
      // and are small, so they stay.
      for (const TRENode* child : {node->left, node->right}) {
        if (child && child->kind != RENodeKind::kLeaf) facts.erase(child);
      }
    }
    facts[node] = std::move(f);
  }
  if (sufficient) *sufficient = facts[root].sufficient;
  return facts[root].must;
}

}  // namespace search
