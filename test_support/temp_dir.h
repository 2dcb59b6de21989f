// Test helpers: a temporary folder of a test's own, removed afterwards, and byte-exact file I/O.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace test_support {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& path);

// Runs `body` in a child process whose writes fail beyond `max_file_bytes` (as on a full disk;
// this works even for root, unlike file modes) and returns its exit status.
int RunWithFileSizeLimit(long max_file_bytes, const std::function<int()>& body);

// While it lives, writes of this process fail beyond `max_file_bytes` (EFBIG, as on a full
// disk; this works even for root, unlike file modes). Only the soft limit is lowered, so the
// old one comes back at the end.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(long max_file_bytes);
  ~ScopedFileSizeLimit();
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  unsigned long long old_soft_ = 0;
  void (*old_handler_)(int) = nullptr;
};

// Code page 932 bytes of a UTF-8 literal, for comparing with file content.
std::string Sjis(const std::string& utf8);

}  // namespace test_support
