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

// Code page 932 bytes of a UTF-8 literal, for comparing with file content.
std::string Sjis(const std::string& utf8);

}  // namespace test_support
