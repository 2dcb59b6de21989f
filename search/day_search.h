// The search of the day files that the search dialog runs: one year's folder, or every folder
// below the data folder, one day file at a time with a TGrep, giving the dialog's result lines
// ("1999/01/05   ：    line") in the list's sorted order. The dialog calls these and only adds
// its controls around them.
#pragma once

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

struct DaySearchResult {
  std::vector<std::string> lines;  // sorted result lines
  int files = 0;                   // day files found ("*.dat"); the dialog keeps its history by it
};

// Called with each result line as it is found (the dialog shows it at once).
using DayResultCallback = std::function<void(const std::string& line)>;

// Sets the pattern (then switches the equivalence dictionary off, which compiles it plainly);
// an ERegExpParser propagates before anything is searched. Then: the data folder becomes the
// working directory, then its subfolder named by the year when it exists, and every "*.dat"
// there is searched. A file that cannot be read, or a cancel request, skips that file only.
DaySearchResult SearchYearFolder(TGrep& grep, const std::string& pattern,
                                 const std::filesystem::path& data_dir, int year,
                                 const DayResultCallback& on_result = {});

// The same over every folder CollectDataFolders finds; the working directory is left at the
// last folder searched (the dialog then moves it to the shown year's folder).
DaySearchResult SearchAllFolders(TGrep& grep, const std::string& pattern,
                                 const std::filesystem::path& data_dir,
                                 const DayResultCallback& on_result = {});

}  // namespace search
