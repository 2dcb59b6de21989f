// TGrep: searches one text file at a time for the lines that hold a match of its pattern and
// reports each such line once, with its number, through OnMatch. The line head and line tail
// are the line feeds around a line; fixed-string patterns are compared directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "search/regular_expression.h"
#include "search/txt_file.h"

namespace search {

struct RE_LineInfo_t {
  std::string Line;  // the line's text without its line end
  int LineNo = 0;    // 1-based
};

class TGrep;
using TGrepOnMatch = std::function<void(TGrep& sender, const RE_LineInfo_t& info)>;

class TGrepAutomaton;

class TGrep : public TRegularExpression {
 public:
  enum class Matcher { kString, kAutomaton };

  TGrep();

  // Compiles the pattern (Part of the base component) and chooses the matcher: the string
  // matcher for a fixed string, the automaton matcher otherwise. A faulty pattern leaves the
  // choice as it was.
  void SetRegExp(const std::string& pattern) override;
  RECode LineHeadCode() const override { return 10; }
  RECode LineTailCode() const override { return 10; }

  // Searches one file. Returns at once when no OnMatch is set; clears Cancel when it starts.
  // Throws EFileNotFound when the file cannot be opened and EGrepCancel on a cancel request.
  void Grep(const std::filesystem::path& file);
  // The same for `name` in the open directory `dir_fd` (the error message names `name`).
  void Grep(int dir_fd, const char* name);
  // The same for bytes already in memory, read exactly as a file of those bytes would be.
  void GrepText(std::string_view text);

  TGrepOnMatch OnMatch;
  // Set by the caller (from its event handlers) to stop the running search.
  bool Cancel = false;
  // A cancel request from another thread; unlike Cancel it is never cleared here, so it stops
  // every file searched until its owner clears it. Checked after every block read and before
  // every reported line.
  const std::atomic<bool>* CancelRequest = nullptr;
  // Called after every block read and before every reported line, so that the user interface
  // can process its pending events (and a click on its cancel button can set Cancel).
  std::function<void()> ProcessMessages;

  Matcher CurrentMatcher() const { return matcher_; }
  // Matches start by start on the whole file, exactly as the matchers are described, instead of
  // the byte table; for tests and fuzzing, which compare the two.
  void SetStartByStart(bool on) { start_by_start_ = on; }
  // Matches by simulating the nondeterministic automaton (the matcher of patterns whose
  // deterministic one would be too large) for every pattern that has one; for tests and
  // fuzzing, which compare it with the fast matchers.
  void SetByNfa(bool on) { by_nfa_ = on; }
  // Off: lines are reported with LineNo 0 and no line ends are counted, for callers that do
  // not show numbers (the day search); the byte table matcher then skips the count.
  void SetLineNumbers(bool on) { count_lines_ = on; }
  // On: a file of a megabyte or more is mapped rather than read (see TTxtFile). A mapped file
  // cut short by another program while it is searched ends the process (SIGBUS), so only the
  // command-line tool's searches of files it is named take this; the program's own searches
  // of day files, small and open in the windows, read them.
  void SetMapLargeFiles(bool on) { map_large_files_ = on; }

 private:
  void Search(TTxtFile& file);
  void StartByStart(TTxtFile& file);
  void ByThreads(TTxtFile& file);
  void ByNfa(TTxtFile& file);
  void ByTable(TTxtFile& file, const TGrepAutomaton& automaton);
  void Report(TTxtFile& file, const unsigned char* buffer, size_t line_start, size_t line_end,
              int line_no);

  RE_LineInfo_t info_;
  std::string read_buffer_;  // the reader's, kept from file to file
  Matcher matcher_ = Matcher::kString;
  bool start_by_start_ = false;
  bool by_nfa_ = false;
  bool count_lines_ = true;
  bool map_large_files_ = false;
};

}  // namespace search
