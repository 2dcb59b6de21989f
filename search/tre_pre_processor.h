// TREPreProcessor: rewrites a pattern through equivalence dictionaries before it is compiled, so
// that one spelling also finds its variants (full-width and half-width forms, kana, numerals).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace search {

// A group is a list of equivalent variants; a dictionary is a list of groups.
using REDictionaryGroup = std::vector<std::string>;
using REDictionary = std::vector<REDictionaryGroup>;

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
