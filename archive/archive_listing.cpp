#include "archive/archive_listing.h"

#include <sys/stat.h>

#include <set>

namespace fs = std::filesystem;

namespace archive {

std::vector<std::string> ListedNames(std::string_view listing) {
  std::vector<std::string> names;
  while (!listing.empty()) {
    size_t end = listing.find('\n');
    std::string_view line = listing.substr(0, end);
    listing.remove_prefix(end == std::string_view::npos ? listing.size() : end + 1);
    size_t tab = line.find('\t');
    if (tab == std::string_view::npos || tab == 0) continue;  // not a member line
    std::string_view name = line.substr(0, tab);
    if (name != "?") names.emplace_back(name);
  }
  return names;
}

std::vector<fs::path> FilesReplacedByExtraction(const std::vector<std::string>& names,
                                                const fs::path& destination) {
  std::vector<fs::path> replaced;
  std::set<fs::path> seen;
  for (std::string name : names) {
    for (char& c : name) {
      if (c == '\\') c = '/';
    }
    fs::path relative = fs::path(name).lexically_normal();
    if (relative.empty() || relative.is_absolute() || name.find(':') != std::string::npos) {
      continue;
    }
    bool escapes = false;
    for (const fs::path& part : relative) escapes = escapes || part == "..";
    if (escapes) continue;
    fs::path target = destination / relative;
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && seen.insert(target).second) {
      replaced.push_back(target);
    }
  }
  return replaced;
}

}  // namespace archive
