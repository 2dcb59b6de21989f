// TREPreProcessor: rewrites a pattern through equivalence dictionaries before it is compiled, so
// that one spelling also finds its variants (full-width and half-width forms, kana, numerals).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/tre_scanner.h"

namespace search {

// A group is a list of equivalent variants.
using REDictionaryGroup = std::vector<std::string>;

// A dictionary: a list of groups, fixed once made. It keeps its variants indexed by their first
// character, so that the pre-processor tries at each pattern position only the few variants
// that can begin there instead of all of them. Copies share the groups and the index (every
// grep takes a copy of the built-in dictionary).
class REDictionary {
 public:
  // A variant that begins with the character `first`: dictionary[group][variant].
  struct Start {
    RECode first;
    std::uint32_t group;
    std::uint32_t variant;
  };

  REDictionary() : REDictionary(std::vector<REDictionaryGroup>{}) {}
  explicit REDictionary(std::vector<REDictionaryGroup> groups);
  // Only copies, which are cheap, so that a moved-from dictionary is never left without groups.
  REDictionary(const REDictionary&) = default;
  REDictionary& operator=(const REDictionary&) = default;

  size_t size() const { return data_->groups.size(); }
  bool empty() const { return data_->groups.empty(); }
  const REDictionaryGroup& operator[](size_t group) const { return data_->groups[group]; }
  auto begin() const { return data_->groups.cbegin(); }
  auto end() const { return data_->groups.cend(); }

  // The variants whose first character is `code`, group by group in dictionary order and each
  // group's in its order. Empty variants begin with nothing and are never listed.
  std::span<const Start> StartingWith(RECode code) const;

 private:
  struct Data {
    std::vector<REDictionaryGroup> groups;
    std::vector<Start> starts;  // by first character, then in dictionary order
  };
  std::shared_ptr<const Data> data_;
};

class TREPreProcessor {
 public:
  bool UseSynonymDic = false;
  bool UseFuzzyCharDic = false;
  std::vector<REDictionary> SynonymDics;
  std::vector<REDictionary> FuzzyCharDics;

  // The pattern after the synonym pass and then the fuzzy pass (each only when switched on).
  // Throws ERegExpParser when the pattern cannot be scanned.
  std::string Process(const std::string& pattern) const;

  // One pass over a list of dictionaries.
  static std::string Expand(const std::string& pattern, const std::vector<REDictionary>& dics);

  // A dictionary from comma texts, one group per text, read with the line list's comma-text
  // rules. Empty items are left out: an empty variant would match everywhere without reading.
  static REDictionary ReadDictionary(const std::vector<std::string>& comma_texts);

  // The built-in equivalence dictionary (145 groups, code page 932) and its comma texts.
  static const REDictionary& BuiltInFuzzyCharDic();
  static const std::vector<std::string>& BuiltInFuzzyCharTexts();
};

}  // namespace search
