#include "platform/file_system.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <random>

#include "platform/cp932.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

unsigned AttributesOf(const fs::path& path, const fs::file_status& status) {
  unsigned attributes = 0;
  if (fs::is_directory(status)) attributes |= kAttrDirectory;
  if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    attributes |= kAttrReadOnly;
  }
  std::string name = path.filename().string();
  if (!name.empty() && name[0] == '.' && name != "." && name != "..") attributes |= kAttrHidden;
  // A symbolic link is what Windows calls a reparse point; directory walks skip them, which
  // also keeps a link loop from walking forever.
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(path, ec))) attributes |= kAttrReparsePoint;
  return attributes;
}

char FoldAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

}  // namespace

int FileAttributes(const fs::path& path) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) return -1;
  return static_cast<int>(AttributesOf(path, status));
}

namespace {

void WalkPlain(const fs::path& dir, std::size_t limit, std::vector<fs::path>& out) {
  for (const FoundFile& entry : FindFiles(dir, "*.*", kAttrDirectory)) {
    if (out.size() >= limit) return;
    if (entry.name == "." || entry.name == "..") continue;
    if (entry.attributes != kAttrDirectory) continue;
    // A copy: the recursion pushes onto `out`, which may move its elements.
    const fs::path sub = dir / entry.name;
    out.push_back(sub);
    WalkPlain(sub, limit, out);
  }
}

}  // namespace

std::vector<fs::path> PlainSubdirectories(const fs::path& root, std::size_t limit) {
  std::vector<fs::path> found;
  WalkPlain(root, limit, found);
  return found;
}

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  // "*.*" matches names without a dot too, as it does on Windows.
  if (pattern == "*" || pattern == "*.*") return true;
  // Classic backtracking over the last "*": linear enough for file names.
  size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<FoundFile> FindFiles(const fs::path& dir, std::string_view pattern, unsigned include) {
  std::vector<FoundFile> found;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return found;
  const unsigned special = kAttrHidden | kAttrSystem | kAttrDirectory;
  if ((include & kAttrDirectory) != 0) {
    for (const char* dot : {".", ".."}) {
      if (MatchesWildcard(dot, pattern)) found.push_back({dot, kAttrDirectory, 0});
    }
  }
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (!MatchesWildcard(name, pattern)) continue;
    std::error_code status_error;
    fs::file_status status = it->status(status_error);
    if (status_error) continue;
    unsigned attributes = AttributesOf(it->path(), status);
    if ((attributes & special & ~include) != 0) continue;
    std::uintmax_t size = fs::is_regular_file(status) ? it->file_size(status_error) : 0;
    found.push_back({std::move(name), attributes, status_error ? 0 : size});
  }
  return found;
}

fs::path CurrentDir() {
  std::error_code ec;
  fs::path p = fs::current_path(ec);
  return ec ? fs::path() : p;
}

bool SetCurrentDir(const fs::path& dir) {
  std::error_code ec;
  fs::current_path(dir, ec);
  return !ec;
}

namespace {

// ".NAME.tmpPID_N", the temporary name ReplaceFile writes under.
bool IsOwnTemporaryName(std::string_view name) {
  if (name.size() < 2 || name[0] != '.') return false;
  const size_t tmp = name.rfind(".tmp");
  if (tmp == std::string_view::npos || tmp == 0) return false;
  const std::string_view tail = name.substr(tmp + 4);
  const size_t underscore = tail.find('_');
  if (underscore == 0 || underscore == std::string_view::npos || underscore + 1 == tail.size())
    return false;
  auto digits = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  return digits(tail.substr(0, underscore)) && digits(tail.substr(underscore + 1));
}

// Temporary files that a write killed half-way left behind. One younger than a minute may
// belong to a write still going on in another process.
void RemoveStaleTemporaries(const fs::path& folder) {
  const auto cutoff = fs::file_time_type::clock::now() - std::chrono::minutes(1);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsOwnTemporaryName(it->path().filename().string())) continue;
    std::error_code entry_error;
    if (!it->is_regular_file(entry_error) || it->last_write_time(entry_error) > cutoff ||
        entry_error)
      continue;
    fs::remove(it->path(), entry_error);
  }
}

}  // namespace

bool IsReadOnlyFile(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  return !ec && fs::is_regular_file(status) &&
         (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

bool ReplaceFile(const fs::path& path, std::string_view bytes, std::error_code& error,
                 Durability durability) {
  static std::atomic<unsigned> counter{0};
  fs::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  // The rename would replace a file the user made read-only; the folder's rights allow it, the
  // file's do not, and the file's are what the user set. One look at the old file serves every
  // question below: a bulk import asks them thirty thousand times.
  std::error_code ignore;
  const fs::file_status old = fs::status(path, ignore);
  const bool existed = fs::exists(old);
  if (fs::is_regular_file(old) && (old.permissions() & fs::perms::owner_write) == fs::perms::none) {
    error = std::make_error_code(std::errc::permission_denied);
    return false;
  }
  std::string base = "." + path.filename().string() + ".tmp" + std::to_string(getpid()) + "_" +
                     std::to_string(counter++);
  fs::path temp = folder / base;
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    error.assign(errno, std::generic_category());
    return false;
  }
  const char* p = bytes.data();
  size_t left = bytes.size();
  bool ok = true;
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  bool flush = durability == Durability::kEachFile || existed;
  if (ok && flush && ::fsync(fd) != 0) ok = false;
  int saved = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  // A file that existed keeps its permission bits under the new content.
  if (ok && existed) {
    fs::permissions(temp, old.permissions(), ignore);
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    error.assign(saved, std::generic_category());
    return false;
  }
  if (durability == Durability::kEachFile) RemoveStaleTemporaries(folder);
  error.clear();
  return true;
}

void SyncFileSystem(const fs::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

bool ReadFile(const fs::path& path, std::string& bytes) {
  bytes.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::error_code ec;
  if (fs::is_directory(path, ec)) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  in.seekg(0, std::ios::beg);
  if (size > 0) {
    bytes.resize(static_cast<size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<size_t>(in.gcount()));
  }
  return !in.bad();
}

fs::path PathFromCp932(std::string_view text) {
  // Decoded first, so that a 0x5C trail byte (表, ソ) is never taken for a separator.
  std::string utf8 = cp932::ToUtf8(text);
  for (char& c : utf8) {
    if (c == '\\') c = '/';
  }
  return fs::path(utf8);
}

std::string Cp932FromPath(const fs::path& path, bool* exact) {
  return cp932::FromUtf8(path.string(), exact);
}

}  // namespace platform
