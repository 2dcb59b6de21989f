#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::optional<dev_t> DeviceOf(const fs::path& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
  return st.st_dev;
}

// Makes `dir` and its missing parents with mode 0700; true when it is a real folder then.
bool MakePrivateDir(const fs::path& dir) {
  std::error_code ec;
  if (fs::is_directory(fs::symlink_status(dir, ec))) return true;
  if (!dir.has_parent_path() || dir.parent_path() == dir) return false;
  if (!MakePrivateDir(dir.parent_path())) return false;
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return fs::is_directory(fs::symlink_status(dir, ec));
}

bool UsableTrash(const fs::path& trash) {
  return MakePrivateDir(trash / "files") && MakePrivateDir(trash / "info") &&
         ::access((trash / "files").c_str(), W_OK) == 0 &&
         ::access((trash / "info").c_str(), W_OK) == 0;
}

// The top folder of the file system that holds `path`.
fs::path MountTop(const fs::path& path, dev_t device) {
  fs::path top = path;
  while (top.has_parent_path() && top.parent_path() != top) {
    std::optional<dev_t> up = DeviceOf(top.parent_path());
    if (!up || *up != device) break;
    top = top.parent_path();
  }
  return top;
}

// True when `inner` lies in `folder` (or is it).
bool Inside(const fs::path& inner, const fs::path& folder) {
  std::error_code ec;
  const fs::path a = fs::weakly_canonical(inner, ec);
  const fs::path b = fs::weakly_canonical(folder, ec);
  if (ec) return true;
  return std::mismatch(b.begin(), b.end(), a.begin(), a.end()).first == b.end();
}

std::optional<fs::path> TrashFor(const fs::path& file, dev_t device, const fs::path& keep_out) {
  const fs::path home_trash = HomeTrashDir();
  // The data home may not exist yet on a fresh account: the device that would hold it is that
  // of its nearest existing folder.
  fs::path probe = home_trash;
  std::optional<dev_t> home_device;
  while (!(home_device = DeviceOf(probe)) && probe.has_parent_path() &&
         probe.parent_path() != probe)
    probe = probe.parent_path();
  if (home_device && *home_device == device) {
    if (!Inside(home_trash, keep_out) && UsableTrash(home_trash)) return home_trash;
    return std::nullopt;
  }
  const fs::path top = MountTop(file.parent_path(), device);
  const std::string uid = std::to_string(::getuid());
  // An administrator's shared ".Trash" counts only when it is a real sticky folder.
  struct stat st;
  const fs::path shared = top / ".Trash";
  if (Inside(shared, keep_out)) return std::nullopt;
  if (::lstat(shared.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX) &&
      UsableTrash(shared / uid))
    return shared / uid;
  const fs::path own = top / (".Trash-" + uid);
  if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) return std::nullopt;
  if (::lstat(own.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
    return std::nullopt;
  if (UsableTrash(own)) return own;
  return std::nullopt;
}

std::string NowText() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

}  // namespace

fs::path HomeTrashDir() {
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home && *data_home == '/') return fs::path(data_home) / "Trash";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/") / ".local" / "share" / "Trash";
}

std::string TrashInfoPath(const fs::path& absolute) {
  std::string out;
  for (unsigned char c : absolute.string()) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
        c == '-' || c == '_' || c == '.' || c == '~') {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  return out;
}

TrashResult MoveToTrash(const fs::path& given, const fs::path& keep_out) {
  std::error_code ec;
  const fs::path file = fs::absolute(given, ec).lexically_normal();
  const std::optional<dev_t> device = DeviceOf(file);
  if (ec || !device) return TrashResult::kFailed;
  // A trash inside that folder would put "files" and "info" among the user's data.
  const std::optional<fs::path> trash =
      TrashFor(file, *device, keep_out.empty() ? file.parent_path() : keep_out);
  if (!trash) return TrashResult::kNoTrash;
  // The info file is made first and exclusively: its name reserves the name in files/.
  const std::string base = file.filename().string();
  for (int n = 1; n < 10000; ++n) {
    const std::string name = n == 1 ? base : base + "." + std::to_string(n);
    const fs::path info = *trash / "info" / (name + ".trashinfo");
    const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return TrashResult::kFailed;
    }
    const fs::path target = *trash / "files" / name;
    if (fs::exists(fs::symlink_status(target, ec))) {
      ::close(fd);
      ::unlink(info.c_str());
      continue;
    }
    const std::string text =
        "[Trash Info]\nPath=" + TrashInfoPath(file) + "\nDeletionDate=" + NowText() + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (::close(fd) != 0 || !written || ::rename(file.c_str(), target.c_str()) != 0) {
      ::unlink(info.c_str());
      return TrashResult::kFailed;
    }
    return TrashResult::kTrashed;
  }
  return TrashResult::kFailed;
}

}  // namespace platform
