// The search of the day files that the search dialog runs: one year's folder, or every folder
// below the data folder, one day file at a time with a TGrep, giving the dialog's result lines
// ("1999/01/05   ：    line") in the list's sorted order. The dialog calls these and only adds
// its controls around them.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "search/grep.h"

namespace search {

// The result line of a matching line of a day file: year (name characters 4-7), month (8-9) and
// day (10-11) of the file name, the separator "   ：    " and the line. Code page 932.
std::string DayResultLine(std::string_view day_file_name, std::string_view line);

// The list's order: byte order of the code page 932 text with ASCII letters compared without
// case, so that results come in date order and, within a day, in text order.
bool ResultLineLess(std::string_view a, std::string_view b);

// Every folder below the data folder, depth first, each before the folders inside it: a folder
// whose attributes are anything but exactly "directory" (read-only, hidden, a link) is left out
// together with everything below it. The data folder itself is not in the list.
std::vector<std::filesystem::path> CollectDataFolders(const std::filesystem::path& data_dir);

// Result lines in one piece of storage. A search of every year can find hundreds of thousands
// of lines; a string of their own for each would cost an allocation and a free per line, which
// was most of the time of such a search.
class DayResultLines {
 public:
  size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](size_t i) const {
    return {text_.data() + spans_[i].offset, spans_[i].length};
  }
  // Appends the line `prefix` + `line`.
  void Add(std::string_view prefix, std::string_view line);
  // Puts the lines from `first` on in ResultLineLess order, comparing what follows their first
  // `skip` bytes (which they must share and which must end on a character boundary).
  void SortFrom(size_t first, size_t skip);
  std::vector<std::string> Strings() const;
  // Empties the list and keeps its storage.
  void Clear() {
    text_.clear();
    spans_.clear();
  }

 private:
  struct Span {
    size_t offset;
    size_t length;
  };
  // A span with the first eight bytes after the shared beginning, as a number that orders as
  // the bytes do, so that most comparisons of a sort need not read the text.
  struct Keyed {
    std::uint64_t key;
    Span span;
  };
  std::string text_;
  std::vector<Span> spans_;
  std::vector<Keyed> keyed_;  // SortFrom's, kept from sort to sort
};

struct DaySearchResult {
  std::vector<std::string> lines;  // sorted result lines
  int files = 0;                   // day files found ("*.dat"); the dialog keeps its history by it
  bool cancelled = false;          // the search stopped on a cancel request
};

// Called with each result line as it is found (the dialog shows it at once).
using DayResultCallback = std::function<void(const std::string& line)>;

struct DaySearchProgress {
  // The folder being searched, relative to the data folder, as the file system spells it (UTF-8
  // here) with "/" between folder names: "1999", "old/2003"; empty for the data folder itself.
  std::string folder;
  int files_done = 0;   // day files searched so far, over the whole search
  int files_total = 0;  // day files the whole search will search (counted before it starts)
};

// What a caller on another thread gets while the search runs. Every hook is called on the
// searching thread. A cancel request stops the whole search: it is checked between files and,
// inside a file, after every block read and before every result, so it takes effect within one
// file; the lines found until then stay in the result.
struct DaySearchHooks {
  DayResultCallback on_result;                                // each result line as found
  std::function<void(const DaySearchProgress&)> on_progress;  // after each file (callers throttle)
  const std::atomic<bool>* cancel = nullptr;
};

// Sets the pattern (then switches the equivalence dictionary off, which compiles it plainly);
// an ERegExpParser propagates before anything is searched. Then every "*.dat" in the data
// folder's subfolder named by the year is searched, or in the data folder itself when that
// subfolder does not exist. A file that cannot be read, or the grep's own Cancel, skips that
// file only. The search works with open directory handles and never changes the working
// directory, so it may run on a thread of its own (with a TGrep of its own).
DaySearchResult SearchYearFolder(TGrep& grep, const std::string& pattern,
                                 const std::filesystem::path& data_dir, int year,
                                 const DaySearchHooks& hooks = {});

// The same over every folder CollectDataFolders finds, in its order.
DaySearchResult SearchAllFolders(TGrep& grep, const std::string& pattern,
                                 const std::filesystem::path& data_dir,
                                 const DaySearchHooks& hooks = {});

// The same two searches handing the result lines over in batches, in the list's order: a batch
// goes out as soon as no file still to be searched can put a line before it, so a search of
// every year (the files come in date order) holds one day's lines at a time instead of all of
// them. The batches together are exactly DaySearchResult::lines, but for a cancel: after it no
// batch goes out, and the lines held back until then are dropped. A batch's lines are valid
// during the call only.
using DayResultBatch = std::function<void(const DayResultLines& lines)>;
struct DaySearchSummary {
  size_t lines = 0;  // result lines in all batches
  int files = 0;     // as in DaySearchResult
  bool cancelled = false;
};
DaySearchSummary SearchYearFolder(TGrep& grep, const std::string& pattern,
                                  const std::filesystem::path& data_dir, int year,
                                  const DayResultBatch& batch, const DaySearchHooks& hooks = {});
DaySearchSummary SearchAllFolders(TGrep& grep, const std::string& pattern,
                                  const std::filesystem::path& data_dir,
                                  const DayResultBatch& batch, const DaySearchHooks& hooks = {});

}  // namespace search
