#include "search/day_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

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

// An open directory, closed with its owner.
class DirHandle {
 public:
  DirHandle() = default;
  DirHandle(int at, const char* path)
      : fd_(::openat(at, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  DirHandle(DirHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  DirHandle& operator=(DirHandle&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~DirHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }
  bool ok() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Calls `each(name, d_type)` for every entry of the open directory but "." and "..", in the
// order the file system gives them. The handle itself stays open and positioned for nothing.
template <typename Each>
void ReadEntries(int dir_fd, Each&& each) {
  int copy = ::dup(dir_fd);
  if (copy < 0) return;
  DIR* dir = ::fdopendir(copy);
  if (!dir) {
    ::close(copy);
    return;
  }
  ::rewinddir(dir);  // the duplicate shares its position with every other use of the handle
  while (const dirent* entry = ::readdir(dir)) {
    const char* name = entry->d_name;
    if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
    each(name, entry->d_type);
  }
  ::closedir(dir);
}

// True for a subdirectory whose attributes are exactly "directory": not hidden (a name starting
// with "."), not read-only for its owner, not a link. Only directories cost a look-up.
bool IsPlainFolder(int dir_fd, const char* name, unsigned char type) {
  if (name[0] == '.') return false;
  if (type != DT_DIR && type != DT_UNKNOWN) return false;
  struct stat st {};
  if (::fstatat(dir_fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  return S_ISDIR(st.st_mode) && (st.st_mode & S_IWUSR) != 0;
}

// True for a "*.dat" entry, whatever its attributes (a folder or a file that cannot be read is
// found too, and skipped when it is searched). A link that leads nowhere is not an entry, as
// the platform's enumeration does not report it either.
bool IsDayFileEntry(int dir_fd, const char* name, unsigned char type) {
  if (!platform::MatchesWildcard(name, "*.dat")) return false;
  struct stat st {};
  return type != DT_LNK || ::fstatat(dir_fd, name, &st, 0) == 0;
}

// Day file names in the order of their results (a day file's name holds its date), so that
// results are found in the list's order.
void SortDayFiles(std::vector<std::string>& names) {
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) keyed.emplace_back(DayResultLine(name, ""), std::move(name));
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return ResultLineLess(a.first, b.first) ||
           (!ResultLineLess(b.first, a.first) && a.second < b.second);
  });
  for (size_t i = 0; i < keyed.size(); ++i) names[i] = std::move(keyed[i].second);
}

// Every plain folder below the open folder, depth first, each before the folders inside it,
// as paths relative to the folder the walk began in. With `day_files`, each folder's day files
// (sorted) too, beside it, from the same reading of its entries.
void WalkFolders(int dir_fd, const std::string& prefix, std::vector<std::string>& out,
                 std::vector<std::vector<std::string>>* day_files = nullptr,
                 size_t self = static_cast<size_t>(-1)) {
  std::vector<std::string> children, days;
  ReadEntries(dir_fd, [&](const char* name, unsigned char type) {
    if (IsPlainFolder(dir_fd, name, type)) children.emplace_back(name);
    if (day_files && IsDayFileEntry(dir_fd, name, type)) days.emplace_back(name);
  });
  if (day_files && self != static_cast<size_t>(-1)) {
    SortDayFiles(days);
    (*day_files)[self] = std::move(days);
  }
  for (const std::string& child : children) {
    if (out.size() > 100000) return;  // a bound for absurd trees
    out.push_back(prefix + child);
    if (day_files) day_files->emplace_back();
    const size_t index = out.size() - 1;
    DirHandle sub(dir_fd, child.c_str());
    if (sub.ok()) WalkFolders(sub.fd(), out.back() + "/", out, day_files, index);
  }
}

// The day files of an open folder, sorted.
std::vector<std::string> DayFileNames(int dir_fd) {
  std::vector<std::string> names;
  ReadEntries(dir_fd, [&](const char* name, unsigned char type) {
    if (IsDayFileEntry(dir_fd, name, type)) names.emplace_back(name);
  });
  SortDayFiles(names);
  return names;
}

struct FolderToSearch {
  std::string folder;  // relative to the data folder, "" for the data folder itself
  DirHandle handle;    // opened again from the data folder when it is not open
  std::vector<std::string> names;
};

// True when the prefixes (DayResultLine of each file's name) all have the same length and no
// ASCII letter before the separator. Then two of them differ before the separator or not at
// all, ResultLineLess decides at that byte without folding, and every line of a file comes
// before every line of a file whose prefix is greater in byte order.
bool PrefixesOrderByBytes(const std::vector<std::string>& prefixes) {
  if (prefixes.empty()) return true;
  const size_t size = prefixes[0].size();
  if (size < Separator().size()) return false;
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  return std::all_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) {
    return p.size() == size &&
           std::none_of(p.begin(), p.end() - static_cast<std::ptrdiff_t>(Separator().size()),
                        letter);
  });
}

// Searches the day files of the folders in order. The folders' entries have been read before,
// so that the progress knows the total from the start. With `batch`, the lines are handed over
// as soon as they are final and the result holds none; without it they are all in the result.
DaySearchSummary SearchFolders(TGrep& grep, int data_fd, std::vector<FolderToSearch>& folders,
                               const DaySearchHooks& hooks, DayResultLines& lines,
                               const DayResultBatch* batch) {
  DaySearchSummary result;
  // The date and separator of every file, in the order they are searched.
  std::vector<std::string> prefixes;
  for (const FolderToSearch& f : folders) {
    for (const std::string& name : f.names) {
      // Day file names are ASCII, which is the same in code page 932 (and needs no codec).
      bool ascii = std::all_of(name.begin(), name.end(),
                               [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      prefixes.push_back(DayResultLine(ascii ? name : platform::Cp932FromPath(name), ""));
    }
  }
  result.files = static_cast<int>(prefixes.size());
  // When the prefixes order by their bytes, the lines found so far are final once the
  // greatest prefix among them is less than every prefix still to come. first_of_rest[k]: the
  // least prefix of the files from k on, or none past the last file.
  constexpr size_t kNoFile = static_cast<size_t>(-1);
  const bool streaming = batch && PrefixesOrderByBytes(prefixes);
  std::vector<size_t> first_of_rest;
  if (streaming) {
    first_of_rest.assign(prefixes.size() + 1, kNoFile);
    for (size_t k = prefixes.size(); k-- > 0;) {
      size_t next = first_of_rest[k + 1];
      first_of_rest[k] = next != kNoFile && prefixes[next] < prefixes[k] ? next : k;
    }
  }
  auto cancelled = [&] { return hooks.cancel && hooks.cancel->load(); };

  const std::string* prefix = nullptr;  // of the file being searched
  std::string found;                    // the line handed to on_result
  grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
    lines.Add(*prefix, info.Line);
    if (hooks.on_result) {
      found.assign(*prefix);
      found += info.Line;
      hooks.on_result(found);
    }
  };
  grep.SetLineNumbers(false);  // results carry no line number
  const std::atomic<bool>* saved_request = grep.CancelRequest;
  grep.CancelRequest = hooks.cancel;
  DaySearchProgress progress;
  progress.files_total = result.files;
  bool in_order = true;
  size_t greatest_waiting = kNoFile;  // the file with the greatest prefix of those in `lines`
  auto hand_over = [&] {
    if (!in_order) lines.SortFrom(0, 0);
    if (!lines.empty()) (*batch)(lines);
    result.lines += lines.size();
    lines.Clear();
    in_order = true;
    greatest_waiting = kNoFile;
  };
  size_t file = 0;
  for (FolderToSearch& f : folders) {
    progress.folder = f.folder;
    // One handle open at a time: a deep tree must not run out of file descriptors.
    if (!f.handle.ok()) f.handle = DirHandle(data_fd, f.folder.c_str());
    for (const std::string& name : f.names) {
      if (cancelled()) break;
      prefix = &prefixes[file];
      const size_t first = lines.size();
      try {
        grep.Grep(f.handle.fd(), name.c_str());
      } catch (const std::exception&) {
        // A day file that cannot be read, or a cancel request, ends only this file.
      }
      // One file's lines share their date and are put in order at once; the files come in
      // date order, so the whole list is usually in order without a sort of it all.
      // They share the prefix too, which ends on a character boundary (the separator ends in
      // blanks), so comparing what follows it orders them the same.
      if (lines.size() - first > 1) lines.SortFrom(first, prefix->size());
      if (first > 0 && first < lines.size() && ResultLineLess(lines[first], lines[first - 1])) {
        in_order = false;
      }
      if (streaming && lines.size() > first &&
          (greatest_waiting == kNoFile || prefixes[greatest_waiting] < *prefix)) {
        greatest_waiting = file;
      }
      ++file;
      if (streaming && greatest_waiting != kNoFile && !cancelled()) {
        size_t rest = first_of_rest[file];
        if (rest == kNoFile || prefixes[greatest_waiting] < prefixes[rest]) hand_over();
      }
      ++progress.files_done;
      if (hooks.on_progress) hooks.on_progress(progress);
    }
    f.handle = DirHandle();
    if (cancelled()) break;
  }
  result.cancelled = cancelled();
  grep.CancelRequest = saved_request;
  grep.SetLineNumbers(true);
  grep.OnMatch = nullptr;
  // The list's order (lines that compare equal are equal bytes, so no sort needs to be stable).
  // A caller of the batches that asked to stop wants no more of them: what was held back is
  // dropped instead of sorted (a whole search's lines, when the files do not come in order).
  if (batch) {
    if (!result.cancelled) hand_over();
  } else {
    if (!in_order) lines.SortFrom(0, 0);
    result.lines = lines.size();
  }
  return result;
}

void SetPattern(TGrep& grep, const std::string& pattern) {
  grep.SetRegExp(pattern);
  grep.SetUseFuzzyCharDic(false);
}

}  // namespace

void DayResultLines::Add(std::string_view prefix, std::string_view line) {
  spans_.push_back({text_.size(), prefix.size() + line.size()});
  text_ += prefix;
  text_ += line;
}

void DayResultLines::SortFrom(size_t first, size_t skip) {
  const char* text = text_.data();
  keyed_.clear();
  for (size_t i = first; i < spans_.size(); ++i) {
    const Span& span = spans_[i];
    unsigned char bytes[8] = {};  // a shorter line is followed by zeros: it orders first
    std::memcpy(bytes, text + span.offset + skip, std::min<size_t>(8, span.length - skip));
    std::uint64_t key = 0;
    for (unsigned char b : bytes) key = key << 8 | b;
    keyed_.push_back({key, span});
  }
  auto letter = [](unsigned c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  std::sort(keyed_.begin(), keyed_.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.key != b.key) {
      // The first byte where the keys differ is where the lines differ (or where the shorter
      // one ends); there ResultLineLess compares bytes unless a letter is involved.
      const unsigned shift = 56 - (static_cast<unsigned>(__builtin_clzll(a.key ^ b.key)) & ~7u);
      if (!letter((a.key >> shift) & 0xFF) && !letter((b.key >> shift) & 0xFF)) {
        return a.key < b.key;
      }
    }
    return ResultLineLess(std::string_view(text + a.span.offset + skip, a.span.length - skip),
                          std::string_view(text + b.span.offset + skip, b.span.length - skip));
  });
  for (size_t i = 0; i < keyed_.size(); ++i) spans_[first + i] = keyed_[i].span;
}

std::vector<std::string> DayResultLines::Strings() const {
  std::vector<std::string> out;
  out.reserve(size());
  for (size_t i = 0; i < size(); ++i) out.emplace_back((*this)[i]);
  return out;
}

std::string DayResultLine(std::string_view name, std::string_view line) {
  std::string out;
  out.reserve(10 + Separator().size() + line.size());
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
  // The lines of a search share long beginnings (the date and the separator), so the first
  // differing byte is found eight bytes at a time. When neither byte there is an ASCII letter,
  // folding changes nothing up to it and the two bytes decide; otherwise the folded compare.
  const size_t n = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  if (i == n) return a.size() < b.size();
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (!letter(a[i]) && !letter(b[i])) {
    return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
  }
  int order = cp932::CompareIgnoreAsciiCase(a, b);
  if (order != 0) return order < 0;
  return a < b;  // equal without case: the byte order decides
}

std::vector<fs::path> CollectDataFolders(const fs::path& data_dir) {
  std::vector<fs::path> folders;
  DirHandle data(AT_FDCWD, data_dir.c_str());
  if (!data.ok()) return folders;
  std::vector<std::string> relative;
  WalkFolders(data.fd(), "", relative);
  folders.reserve(relative.size());
  for (const std::string& r : relative) folders.push_back(data_dir / r);
  return folders;
}

namespace {

DaySearchSummary SearchYear(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                            int year, const DaySearchHooks& hooks, DayResultLines& lines,
                            const DayResultBatch* batch) {
  SetPattern(grep, pattern);
  // Without a data folder there is nothing to search (rather than whatever folder we are in).
  DirHandle data(AT_FDCWD, data_dir.c_str());
  if (!data.ok()) return {};
  std::vector<FolderToSearch> folders(1);
  std::string name = std::to_string(year);
  DirHandle year_folder(data.fd(), name.c_str());
  if (year_folder.ok()) {
    folders[0].folder = name;
    folders[0].handle = std::move(year_folder);
  } else {
    folders[0].handle = std::move(data);  // no such year: the data folder itself
  }
  folders[0].names = DayFileNames(folders[0].handle.fd());
  return SearchFolders(grep, -1, folders, hooks, lines, batch);
}

DaySearchSummary SearchAll(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                           const DaySearchHooks& hooks, DayResultLines& lines,
                           const DayResultBatch* batch) {
  SetPattern(grep, pattern);
  DirHandle data(AT_FDCWD, data_dir.c_str());
  if (!data.ok()) return {};
  // Each folder's entries are read once, for its subfolders and its day files together.
  std::vector<std::string> relative;
  std::vector<std::vector<std::string>> day_files;
  WalkFolders(data.fd(), "", relative, &day_files);
  // Searched in name order (results then arrive in the list's order); the walk itself is
  // the enumeration's order.
  std::vector<size_t> order(relative.size());
  for (size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(),
            [&](size_t a, size_t b) { return relative[a] < relative[b]; });
  std::vector<FolderToSearch> folders;
  folders.reserve(relative.size());
  for (size_t k : order) {
    // A folder that could not be opened has no day files and is left out with the empty ones.
    if (day_files[k].empty()) continue;
    folders.push_back({std::move(relative[k]), DirHandle(), std::move(day_files[k])});
  }
  return SearchFolders(grep, data.fd(), folders, hooks, lines, batch);
}

DaySearchResult WithStrings(const DaySearchSummary& summary, const DayResultLines& lines) {
  DaySearchResult result;
  result.lines = lines.Strings();
  result.files = summary.files;
  result.cancelled = summary.cancelled;
  return result;
}

}  // namespace

DaySearchResult SearchYearFolder(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 int year, const DaySearchHooks& hooks) {
  DayResultLines lines;
  return WithStrings(SearchYear(grep, pattern, data_dir, year, hooks, lines, nullptr), lines);
}

DaySearchResult SearchAllFolders(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 const DaySearchHooks& hooks) {
  DayResultLines lines;
  return WithStrings(SearchAll(grep, pattern, data_dir, hooks, lines, nullptr), lines);
}

DaySearchSummary SearchYearFolder(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                  int year, const DayResultBatch& batch,
                                  const DaySearchHooks& hooks) {
  DayResultLines lines;
  return SearchYear(grep, pattern, data_dir, year, hooks, lines, &batch);
}

DaySearchSummary SearchAllFolders(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                  const DayResultBatch& batch, const DaySearchHooks& hooks) {
  DayResultLines lines;
  return SearchAll(grep, pattern, data_dir, hooks, lines, &batch);
}

}  // namespace search
