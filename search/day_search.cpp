#include "search/day_search.h"

#include <algorithm>

#include "platform/cp932.h"
#include "platform/file_system.h"

namespace search {

namespace fs = std::filesystem;

namespace {

// Characters `from` (1-based) on, at most `count`, clipped to the text as a string copy would.
std::string_view Copy(std::string_view text, size_t from, size_t count) {
  if (from < 1 || from > text.size()) return {};
  return text.substr(from - 1, count);
}

const std::string& Separator() {
  static const std::string separator = cp932::FromUtf8("   ：    ");
  return separator;
}

// Searches every "*.dat" of the working directory.
void SearchWorkingFolder(TGrep& grep, DaySearchResult& result, const DayResultCallback& on_result) {
  const unsigned all = platform::kAttrHidden | platform::kAttrSystem | platform::kAttrDirectory;
  std::vector<platform::FoundFile> files =
      platform::FindFiles(platform::CurrentDir(), "*.dat", all);
  std::erase_if(files,
                [](const platform::FoundFile& f) { return f.name == "." || f.name == ".."; });
  result.files += static_cast<int>(files.size());
  for (const platform::FoundFile& file : files) {
    std::string name = platform::Cp932FromPath(file.name);
    grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
      std::string line = DayResultLine(name, info.Line);
      auto at = std::upper_bound(
          result.lines.begin(), result.lines.end(), line,
          [](const std::string& a, const std::string& b) { return ResultLineLess(a, b); });
      result.lines.insert(at, line);
      if (on_result) on_result(line);
    };
    try {
      grep.Grep(fs::path(file.name));
    } catch (const std::exception&) {
      // A day file that cannot be read, or a cancel request, ends only this file.
    }
  }
  grep.OnMatch = nullptr;
}

void SetPattern(TGrep& grep, const std::string& pattern) {
  grep.SetRegExp(pattern);
  grep.SetUseFuzzyCharDic(false);
}

}  // namespace

std::string DayResultLine(std::string_view name, std::string_view line) {
  std::string out;
  out += Copy(name, 4, 4);
  out += '/';
  out += Copy(name, 8, 2);
  out += '/';
  out += Copy(name, 10, 2);
  out += Separator();
  out += line;
  return out;
}

bool ResultLineLess(std::string_view a, std::string_view b) {
  int order = cp932::CompareIgnoreAsciiCase(a, b);
  if (order != 0) return order < 0;
  return a < b;  // equal without case: the byte order decides
}

std::vector<fs::path> CollectDataFolders(const fs::path& data_dir) {
  std::vector<fs::path> folders;
  // Depth first with the children of a folder visited before its next sibling.
  std::function<void(const fs::path&)> walk = [&](const fs::path& folder) {
    for (const platform::FoundFile& entry :
         platform::FindFiles(folder, "*.*", platform::kAttrDirectory)) {
      if (entry.name == "." || entry.name == "..") continue;
      if (entry.attributes != platform::kAttrDirectory) continue;
      fs::path child = folder / entry.name;
      folders.push_back(child);
      if (folders.size() > 100000) return;  // a bound for absurd trees
      walk(child);
    }
  };
  walk(data_dir);
  return folders;
}

DaySearchResult SearchYearFolder(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 int year, const DayResultCallback& on_result) {
  SetPattern(grep, pattern);
  DaySearchResult result;
  // Without a data folder there is nothing to search (rather than whatever folder we are in).
  if (!platform::SetCurrentDir(data_dir)) return result;
  platform::SetCurrentDir(fs::path(std::to_string(year)));  // stays at the data folder if missing
  SearchWorkingFolder(grep, result, on_result);
  return result;
}

DaySearchResult SearchAllFolders(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 const DayResultCallback& on_result) {
  SetPattern(grep, pattern);
  DaySearchResult result;
  if (!platform::SetCurrentDir(data_dir)) return result;
  fs::path full = platform::CurrentDir();
  for (const fs::path& folder : CollectDataFolders(full)) {
    if (!platform::SetCurrentDir(folder)) continue;
    SearchWorkingFolder(grep, result, on_result);
  }
  return result;
}

}  // namespace search
