#include "test_support/temp_dir.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/cp932.h"

namespace fs = std::filesystem;

namespace test_support {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "mirune-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Give back write rights that a test took away, so that everything can be removed.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::error_code ignore;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ignore);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int RunWithFileSizeLimit(long max_file_bytes, const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{static_cast<rlim_t>(max_file_bytes), static_cast<rlim_t>(max_file_bytes)};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScopedFileSizeLimit::ScopedFileSizeLimit(long max_file_bytes) {
  old_handler_ = signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  old_soft_ = limit.rlim_cur;
  limit.rlim_cur = static_cast<rlim_t>(max_file_bytes);
  setrlimit(RLIMIT_FSIZE, &limit);
}

ScopedFileSizeLimit::~ScopedFileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(old_soft_);
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, old_handler_);
}

std::string Sjis(const std::string& utf8) {
  return cp932::FromUtf8(utf8);
}

}  // namespace test_support
