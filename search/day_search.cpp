#include "search/day_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Every plain folder below the open folder, depth first, each before the folders inside it,
// as paths relative to the folder the walk began in.
void WalkFolders(int dir_fd, const std::string& prefix, std::vector<std::string>& out) {
  std::vector<std::string> children;
  ReadEntries(dir_fd, [&](const char* name, unsigned char type) {
    if (IsPlainFolder(dir_fd, name, type)) children.emplace_back(name);
  });
  for (const std::string& child : children) {
    if (out.size() > 100000) return;  // a bound for absurd trees
    out.push_back(prefix + child);
    DirHandle sub(dir_fd, child.c_str());
    if (sub.ok()) WalkFolders(sub.fd(), out.back() + "/", out);
  }
}

// The "*.dat" entries of an open folder, whatever their attributes (a folder or a file that
// cannot be read is found too, and skipped when it is searched). A link that leads nowhere is
// not an entry, as the platform's enumeration does not report it either.
std::vector<std::string> DayFileNames(int dir_fd) {
  std::vector<std::string> names;
  ReadEntries(dir_fd, [&](const char* name, unsigned char type) {
    if (!platform::MatchesWildcard(name, "*.dat")) return;
    struct stat st {};
    if (type == DT_LNK && ::fstatat(dir_fd, name, &st, 0) != 0) return;
    names.emplace_back(name);
  });
  return names;
}

struct FolderToSearch {
  std::string folder;  // relative to the data folder, "" for the data folder itself
  DirHandle handle;    // opened again from the data folder when it is not open
  std::vector<std::string> names;
};

// Searches the day files of the folders in order. The folders' entries have been read before,
// so that the progress knows the total from the start.
DaySearchResult SearchFolders(TGrep& grep, int data_fd, std::vector<FolderToSearch>& folders,
                              const DaySearchHooks& hooks) {
  DaySearchResult result;
  for (const FolderToSearch& f : folders) result.files += static_cast<int>(f.names.size());
  auto cancelled = [&] { return hooks.cancel && hooks.cancel->load(); };

  std::string name_cp932;
  std::vector<std::string>& lines = result.lines;
  grep.OnMatch = [&](TGrep&, const RE_LineInfo_t& info) {
    lines.push_back(DayResultLine(name_cp932, info.Line));
    if (hooks.on_result) hooks.on_result(lines.back());
  };
  const std::atomic<bool>* saved_request = grep.CancelRequest;
  grep.CancelRequest = hooks.cancel;
  DaySearchProgress progress;
  progress.files_total = result.files;
  for (FolderToSearch& f : folders) {
    progress.folder = f.folder;
    // One handle open at a time: a deep tree must not run out of file descriptors.
    if (!f.handle.ok()) f.handle = DirHandle(data_fd, f.folder.c_str());
    for (const std::string& name : f.names) {
      if (cancelled()) break;
      name_cp932 = platform::Cp932FromPath(name);
      try {
        grep.Grep(f.handle.fd(), name.c_str());
      } catch (const std::exception&) {
        // A day file that cannot be read, or a cancel request, ends only this file.
      }
      ++progress.files_done;
      if (hooks.on_progress) hooks.on_progress(progress);
    }
    f.handle = DirHandle();
    if (cancelled()) break;
  }
  result.cancelled = cancelled();
  grep.CancelRequest = saved_request;
  grep.OnMatch = nullptr;
  // The list's order; a stable sort keeps the order found among lines that compare equal.
  std::stable_sort(lines.begin(), lines.end(),
                   [](const std::string& a, const std::string& b) { return ResultLineLess(a, b); });
  return result;
}

void SetPattern(TGrep& grep, const std::string& pattern) {
  grep.SetRegExp(pattern);
  grep.SetUseFuzzyCharDic(false);
}

}  // namespace

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

DaySearchResult SearchYearFolder(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 int year, const DaySearchHooks& hooks) {
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
  return SearchFolders(grep, -1, folders, hooks);
}

DaySearchResult SearchAllFolders(TGrep& grep, const std::string& pattern, const fs::path& data_dir,
                                 const DaySearchHooks& hooks) {
  SetPattern(grep, pattern);
  DirHandle data(AT_FDCWD, data_dir.c_str());
  if (!data.ok()) return {};
  std::vector<std::string> relative;
  WalkFolders(data.fd(), "", relative);
  std::vector<FolderToSearch> folders;
  folders.reserve(relative.size());
  for (std::string& r : relative) {
    DirHandle handle(data.fd(), r.c_str());
    if (!handle.ok()) continue;
    std::vector<std::string> names = DayFileNames(handle.fd());
    if (names.empty()) continue;
    folders.push_back({std::move(r), DirHandle(), std::move(names)});
  }
  return SearchFolders(grep, data.fd(), folders, hooks);
}

}  // namespace search
