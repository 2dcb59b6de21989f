#include "archive/archive_extractor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "archive/safe_member_path.h"
#include "archive/unlha_result.h"

namespace fs = std::filesystem;

namespace archive {
namespace {

void Note(ExtractResult& result, int code, const std::string& line) {
  if (result.result == kUnlhaOk) result.result = code;
  result.problems.push_back(line);
}

// Makes the member's folders below the destination; false when one cannot be made.
bool MakeFolders(const fs::path& dest, const fs::path& relative_dir) {
  std::error_code ec;
  fs::create_directories(dest / relative_dir, ec);
  return !ec && fs::is_directory(dest / relative_dir, ec);
}

class TempFile {
 public:
  explicit TempFile(const fs::path& target) {
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    path_.assign(pattern.begin(), pattern.end());
    path_.push_back('\0');
    fd_ = ::mkstemp(path_.data());
    if (fd_ < 0) path_.clear();
  }
  ~TempFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!path_.empty()) ::unlink(path_.data());
  }
  bool ok() const { return fd_ >= 0; }
  bool Write(const char* p, size_t n) {
    while (n > 0) {
      ssize_t w = ::write(fd_, p, n);
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      p += w;
      n -= static_cast<size_t>(w);
    }
    return true;
  }
  // Gives the file its time stamp and usual permissions and closes it; the caller renames it
  // into place after the data have reached the disk. Returns the file's path, which the caller
  // then owns; empty on failure.
  std::string Close(std::int64_t mtime) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(mtime);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    ::futimens(fd_, times);
    bool ok = ::close(fd_) == 0;
    fd_ = -1;
    if (!ok) return {};
    std::string path(path_.data());
    path_.clear();
    return path;
  }

 private:
  std::vector<char> path_;
  int fd_ = -1;
};

}  // namespace

ExtractResult ArchiveExtractor::Extract(const fs::path& archive_path) {
  ExtractResult result;
  std::error_code ec;
  if (!fs::is_regular_file(archive_path, ec)) {
    Note(result, kUnlhaNoArchive, "書庫がありません: " + archive_path.string());
    return result;
  }
  const ArchiveFormat format = FormatOfArchiveName(archive_path.filename().string());
  try {
    std::size_t total = 0;
    if (progress_) {
      // Headers only: the count for the progress display costs one quick pass.
      LzhReader count(archive_path, format);
      LzhEntry entry;
      try {
        while (count.Next(entry)) ++total;
      } catch (const LzhError&) {
        // The extraction pass meets the same fault and reports it.
      }
    }
    LzhReader reader(archive_path, format);
    return Extract(reader, total);
  } catch (const LzhError& e) {
    Note(result, kUnlhaNotArchive, e.what());
    return result;
  }
}

ArchiveExtractor::~ArchiveExtractor() {
  for (const Pending& p : pending_) ::unlink(p.temp.c_str());
}

void ArchiveExtractor::Flush(ExtractResult& result) {
  if (pending_.empty()) return;
  // One flush of the file system for a batch of members instead of one per member: a crash
  // still never leaves a renamed file without its data, and thousands of day files are not
  // thousands of waits for the disk.
  int dir = ::open(destination_.c_str(), O_RDONLY | O_DIRECTORY);
  bool synced = dir >= 0 && ::syncfs(dir) == 0;
  if (dir >= 0) ::close(dir);
  for (const Pending& p : pending_) {
    if (synced && ::rename(p.temp.c_str(), p.target.c_str()) == 0) {
      ++result.extracted;
    } else {
      ::unlink(p.temp.c_str());
      Note(result, kUnlhaCannotWrite, "書き込めません: " + p.name);
    }
  }
  pending_.clear();
}

ExtractResult ArchiveExtractor::Extract(LzhReader& reader, std::size_t total) {
  ExtractResult result;

  LzhEntry entry;
  std::size_t done = 0;
  if (progress_ && !progress_(0, total)) {
    Note(result, kUnlhaCancelled, "中止しました");
    return result;
  }
  for (bool first = true;; first = false) {
    if (!first && progress_) {
      total = std::max(total, ++done);
      if (!progress_(done, total)) {
        Note(result, kUnlhaCancelled, "中止しました");
        break;
      }
    }
    try {
      if (!reader.Next(entry)) break;
    } catch (const LzhError& e) {
      Note(result, kUnlhaNotArchive, e.what());
      break;
    }
    std::string why;
    if (!entry.name_decoded) {
      Note(result, kUnlhaUnsafeMember, "名前を読めないため展開しません");
      continue;
    }
    std::optional<fs::path> relative = SafeMemberPath(entry.name, &why);
    if (!relative) {
      Note(result, kUnlhaUnsafeMember, why + "。展開しません: " + entry.name);
      continue;
    }
    if (entry.type == LzhEntry::Type::kLink || entry.type == LzhEntry::Type::kOther) {
      Note(result, kUnlhaUnsafeMember,
           "リンクなど通常のファイルでないため展開しません: " + entry.name);
      continue;
    }
    if (LeavesThroughLink(destination_, *relative)) {
      Note(result, kUnlhaUnsafeMember,
           "フォルダの途中にリンクがあるため展開しません: " + entry.name);
      continue;
    }
    if (entry.type == LzhEntry::Type::kDirectory) {
      if (!MakeFolders(destination_, *relative)) {
        Note(result, kUnlhaCannotWrite, "フォルダを作れません: " + entry.name);
      }
      continue;
    }
    if (entry.size < 0 || entry.size > kMaxMemberSize) {
      Note(result, kUnlhaUnsafeMember, "大きさが不正なため展開しません: " + entry.name);
      continue;
    }
    if (!ExtractFile(reader, entry, *relative, result)) break;
    if (pending_.size() >= kBatch) Flush(result);
  }
  Flush(result);
  return result;
}

bool ArchiveExtractor::ExtractFile(LzhReader& reader, const LzhEntry& entry,
                                   const fs::path& relative, ExtractResult& result) {
  if (relative.has_parent_path() && !MakeFolders(destination_, relative.parent_path())) {
    Note(result, kUnlhaCannotWrite, "フォルダを作れません: " + entry.name);
    return true;
  }
  fs::path target = destination_ / relative;
  struct stat st;
  if (::lstat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      Note(result, kUnlhaCannotWrite, "同じ名前のフォルダがあります: " + entry.name);
      return true;
    }
    if (!overwrite_ && S_ISREG(st.st_mode) && st.st_mtime >= entry.mtime) {
      ++result.skipped;
      return true;
    }
  }
  TempFile temp(target);
  if (!temp.ok()) {
    Note(result, kUnlhaCannotWrite, "書き込めません: " + entry.name + ": " + std::strerror(errno));
    return true;
  }
  bool write_failed = false, too_long = false;
  std::int64_t written = 0;
  try {
    reader.ReadData([&](const char* p, size_t n) {
      if (write_failed || too_long) return;
      written += static_cast<std::int64_t>(n);
      if (written > entry.size) {
        too_long = true;
        return;
      }
      if (!temp.Write(p, n)) write_failed = true;
    });
  } catch (const LzhError& e) {
    Note(result, kUnlhaBrokenData, std::string(e.what()) + ": " + entry.name);
    return false;
  }
  if (write_failed) {
    Note(result, kUnlhaCannotWrite, "書き込めません: " + entry.name);
    return true;
  }
  if (too_long || written != entry.size) {
    Note(result, kUnlhaBrokenData, "大きさがヘッダと合いません: " + entry.name);
    return true;
  }
  std::string written_path = temp.Close(entry.mtime);
  if (written_path.empty()) {
    Note(result, kUnlhaCannotWrite, "書き込めません: " + entry.name);
    return true;
  }
  pending_.push_back({written_path, target, entry.name});
  return true;
}

}  // namespace archive
