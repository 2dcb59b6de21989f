// TGrepNfa: finds the lines of a text in which some character starts a match, by simulating the
// nondeterministic automaton of the pattern over the whole text once, from its end to its
// start. At each character it keeps the set of automaton states from which the rest of the text
// can reach the final state; a character starts a match when the start state is in the set
// that reading it leads to. The work per character is bounded by the automaton's size, so the
// time is linear in the text whatever the pattern, and the memory is a bit a byte. It serves the
// patterns whose deterministic automaton would be too large, and as the reference that the
// faster matchers are checked against. A pattern that begins with fixed text (a long word and a
// short tail, say) is also matched by MatchingLinesAfterPrefix, which finds that text by its
// bytes and simulates only the rest of the automaton, so that the work per character no longer
// grows with the length of that text. A long word further in (a short head, the word, a short
// tail) is found the same way by MatchingLinesAroundWords, and so is every other long word: the
// walk steps over each from the state after it to the state before it instead of following it
// character by character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "search/tre_nfa.h"

namespace search {

class TGrepNfa {
 public:
  // Words of at least long_word characters are stepped over (and the longest word, however
  // short); tests pass 2 so that every word is.
  static constexpr size_t kLongWord = 32;
  explicit TGrepNfa(const TRE_NFA& nfa, size_t long_word = kLongWord);

  // The lines (1-based number, offset of the line's first byte) of buf[0, n) in which some
  // character starts a match that reads at least that character, in order. Characters are read
  // as the grep reads them: CR, LF and CR LF are one line end (code 10), which also begins the
  // line after it; a lead byte takes the next byte, whatever it is. Line 0 (before the first
  // line end) and a line that starts at the end of the text are never reported.
  std::vector<std::pair<int, size_t>> MatchingLines(const unsigned char* buf, size_t n) const;

  // True when every match reads the same characters first: at least one that text can hold,
  // after at most a line end (a "^" before them).
  bool HasPrefix() const { return !prefix_.words.empty(); }
  // True when the prefix has at least as many characters as the rest has states (a long word
  // and a short tail): then matching after the prefix is cheap whatever the text, where
  // following the prefix itself costs its length at each character of a text that repeats it.
  bool PrefixOutweighsRest() const { return HasPrefix() && prefix_.chars >= prefix_.rest_states; }
  // The same lines as MatchingLines, for a pattern that HasPrefix. The prefix is looked for by
  // its bytes (each place in linear time, however often the text repeats its start), and only
  // the automaton states that can follow it are simulated, so the work per character is bounded
  // by the size of the pattern's rest instead of the whole pattern.
  std::vector<std::pair<int, size_t>> MatchingLinesAfterPrefix(const unsigned char* buf,
                                                               size_t n) const;

  // True when the pattern holds a word (at least two characters that text can hold) that the
  // automaton can only read whole, through states that nothing else enters or leaves, wherever
  // it stands. The longest such word and every long one are the words the walk steps over.
  bool HasWords() const { return !words_.words.empty(); }
  size_t WordCount() const { return words_.words.size(); }
  // True when the words have at least as many characters together as the other states number.
  bool WordsOutweighRest() const { return HasWords() && words_.chars >= words_.rest_states; }
  // The same lines as MatchingLines, for a pattern that HasWords. The walk leaves out the
  // words' inner states and finds each word by its bytes instead (each place in linear time),
  // so the work per character is bounded by the number of the other states and of the words.
  std::vector<std::pair<int, size_t>> MatchingLinesAroundWords(const unsigned char* buf,
                                                               size_t n) const;

  // True when the prefix or the words outweigh the rest (see above).
  bool FixedTextOutweighsRest() const { return PrefixOutweighsRest() || WordsOutweighRest(); }
  // The same lines as MatchingLines, by whichever of the three ways simulates fewest states.
  std::vector<std::pair<int, size_t>> MatchingLinesByFixedText(const unsigned char* buf,
                                                               size_t n) const;

 private:
  // A word found by its bytes: the states that reading it leads to and, inside the pattern,
  // the one state it leaves from (a prefix leaves from the start). Its bytes reversed and their
  // failure function find it backwards, as the walk goes.
  struct Word {
    std::string bytes;
    std::vector<int> after;
    int from = -1;
    std::string reversed;
    std::vector<std::uint32_t> failure;
  };
  // Fixed text: the words found by their bytes, their characters together, and a mark on each
  // state the walk keeps (the rest).
  struct FixedText {
    std::vector<Word> words;
    size_t chars = 0;
    std::vector<std::uint8_t> in_rest;
    size_t rest_states = 0;
    std::vector<int> rest_final_closure;  // final_closure_ within the rest
  };

  std::vector<std::pair<int, size_t>> Walk(const unsigned char* buf, size_t n,
                                           const FixedText* fixed) const;
  void FindPrefix(const TRE_NFA& nfa);
  void FindWords(const TRE_NFA& nfa, size_t long_word);
  void FinishFixedText(FixedText& fixed) const;

  struct Into {
    RECode low, high;
    int from;
  };
  int start_ = 0;
  std::vector<int> char_first_;  // per state, the first of the character transitions into it
  std::vector<Into> char_in_;
  std::vector<int> empty_first_;  // per state, the first of the empty transitions into it
  std::vector<int> empty_from_;
  std::vector<int> final_closure_;  // the states that reach the final state by empty steps

  // The prefix, and whether a line end comes before it ("^").
  FixedText prefix_;
  bool prefix_after_line_end_ = false;

  // The words inside the pattern, each with the state it leaves from.
  FixedText words_;
};

}  // namespace search
