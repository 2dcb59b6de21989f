// TRegularExpression: compiles patterns to deterministic automata and keeps the last 30 in a
// cache keyed by the expanded pattern text; entry 0 always holds the empty pattern. Derived
// components choose the codes that stand for the line head and the line tail.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "search/tre_dfa.h"
#include "search/tre_pre_processor.h"

namespace search {

class TRegularExpression {
 public:
  static constexpr int kCacheCapacity = 30;

  TRegularExpression();
  virtual ~TRegularExpression() = default;
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;

  const std::string& RegExp() const { return reg_exp_; }
  // Compiles the pattern (or finds it in the cache) and makes it current. A faulty pattern
  // throws ERegExpParser and leaves the empty pattern current and RegExp empty.
  virtual void SetRegExp(const std::string& pattern);

  bool UseFuzzyCharDic() const { return pre_processor_.UseFuzzyCharDic; }
  bool UseSynonymDic() const { return pre_processor_.UseSynonymDic; }
  // Setting either switch compiles the current pattern again.
  void SetUseFuzzyCharDic(bool on);
  void SetUseSynonymDic(bool on);
  TREPreProcessor& PreProcessor() { return pre_processor_; }

  virtual RECode LineHeadCode() const { return 0xFFFD; }
  virtual RECode LineTailCode() const { return 0xFFFE; }

  const TRE_DFA& Automaton() const { return *cache_[current_].second; }
  bool IsLiteral() const { return Automaton().IsLiteral(); }
  const std::string& LiteralText() const { return Automaton().LiteralText(); }

  // Drops every compiled pattern but the empty one, which becomes current with RegExp empty (as
  // after a faulty pattern), so that the memory of large automata goes back at once. Fuzzing
  // calls it after every run: nothing compiled in a run then outlives it.
  void ForgetCompiled();

  int CacheCount() const { return static_cast<int>(cache_.size()); }
  const std::string& CacheKey(int index) const { return cache_[index].first; }
  int CurrentIndex() const { return current_; }

 protected:
  // Builds the automaton of the current cache entry from its expanded text.
  virtual void Compile();

 private:
  std::string reg_exp_;
  TREPreProcessor pre_processor_;
  std::vector<std::pair<std::string, std::unique_ptr<TRE_DFA>>> cache_;
  int current_ = 0;
};

}  // namespace search
