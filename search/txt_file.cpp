#include "search/txt_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace search {

TTxtFile::TTxtFile(const std::filesystem::path& path, std::string& buffer, const bool& cancel,
                   const std::atomic<bool>* cancel_request,
                   const std::function<void()>& process_messages)
    : TTxtFile(AT_FDCWD, path.c_str(), buffer, cancel, cancel_request, process_messages) {}

TTxtFile::TTxtFile(int dir_fd, const char* name, std::string& buffer, const bool& cancel,
                   const std::atomic<bool>* cancel_request,
                   const std::function<void()>& process_messages)
    : buffer_(buffer),
      cancel_(cancel),
      cancel_request_(cancel_request),
      process_messages_(process_messages) {
  // A folder opens too; its first read fails with EISDIR, which ReadBlock reports then, so that
  // a search of many files costs no status call for each.
  fd_ = ::openat(dir_fd, name, O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) Fail(name, errno);
  name_ = name;
}

TTxtFile::TTxtFile(std::string_view text, const char* name, std::string& buffer, const bool& cancel,
                   const std::atomic<bool>* cancel_request,
                   const std::function<void()>& process_messages)
    : text_(text.data()),
      text_left_(text.size()),
      name_(name),
      buffer_(buffer),
      cancel_(cancel),
      cancel_request_(cancel_request),
      process_messages_(process_messages) {}

void TTxtFile::Fail(const char* name, int error) {
  throw EFileNotFound(std::string(name) + ": " + std::system_category().message(error));
}

TTxtFile::~TTxtFile() {
  if (fd_ >= 0) ::close(fd_);
}

ssize_t TTxtFile::ReadSome(char* to, size_t size) {
  if (fd_ >= 0) return ::read(fd_, to, size);
  size_t n = std::min(size, text_left_);
  if (n > 0) std::memcpy(to, text_, n);
  text_ += n;
  text_left_ -= n;
  return static_cast<ssize_t>(n);
}

void TTxtFile::Yield() const {
  if (process_messages_) process_messages_();
  if (cancel_ || (cancel_request_ && cancel_request_->load(std::memory_order_relaxed))) {
    throw EGrepCancel();
  }
}

bool TTxtFile::ReadBlock(size_t keep) {
  if (eof_) return false;
  size_t base;
  if (!started_) {
    if (buffer_.empty()) buffer_.resize(1);
    buffer_[0] = '\n';
    base = 1;
  } else {
    if (keep > size_) keep = size_;
    if (keep > 0) {
      std::memmove(buffer_.data(), buffer_.data() + keep, size_ - keep);
      dropped_ += keep;
    }
    base = size_ - keep;
    size_ = base;
  }
  // Room for the block, the closing line feed and a little padding that scanners may peek at.
  if (buffer_.size() < base + kBlockSize + 16) buffer_.resize(base + kBlockSize + 16);
  size_t got = 0;
  while (got < kBlockSize) {
    ssize_t n = ReadSome(buffer_.data() + base + got, kBlockSize - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && !started_ && got == 0) Fail(name_, errno);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got < kBlockSize) eof_ = true;
  if (got == 0) {
    // An empty file reads nothing at all, not even its leading line feed.
    if (!started_) return false;
    if (base == 0 || buffer_[base - 1] == '\n') return false;
  } else {
    // A NUL of the file reads as a blank.
    char* block = buffer_.data() + base;
    for (char* nul = static_cast<char*>(std::memchr(block, 0, got)); nul;
         nul = static_cast<char*>(
             std::memchr(nul + 1, 0, got - static_cast<size_t>(nul + 1 - block)))) {
      *nul = ' ';
      if (nul + 1 == block + got) break;
    }
  }
  started_ = true;
  size_ = base + got;
  // The last line ends with a line feed even when the file does not.
  if (eof_ && buffer_[size_ - 1] != '\n') buffer_[size_++] = '\n';
  std::memset(buffer_.data() + size_, 0, buffer_.size() - size_ < 16 ? buffer_.size() - size_ : 16);
  Yield();
  return true;
}

}  // namespace search
