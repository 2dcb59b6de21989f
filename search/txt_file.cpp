#include "search/txt_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

namespace search {

TTxtFile::TTxtFile(const std::filesystem::path& path, const bool& cancel,
                   const std::atomic<bool>* cancel_request,
                   const std::function<void()>& process_messages)
    : TTxtFile(AT_FDCWD, path.c_str(), cancel, cancel_request, process_messages) {}

TTxtFile::TTxtFile(int dir_fd, const char* name, const bool& cancel,
                   const std::atomic<bool>* cancel_request,
                   const std::function<void()>& process_messages)
    : cancel_(cancel), cancel_request_(cancel_request), process_messages_(process_messages) {
  fd_ = ::openat(dir_fd, name, O_RDONLY | O_CLOEXEC);
  int error = errno;
  struct stat st {};
  if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    error = EISDIR;
  }
  if (fd_ < 0)
    throw EFileNotFound(std::string(name) + ": " + std::system_category().message(error));
}

TTxtFile::~TTxtFile() {
  if (fd_ >= 0) ::close(fd_);
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
    buffer_.assign(1, '\n');
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
    ssize_t n = ::read(fd_, buffer_.data() + base + got, kBlockSize - got);
    if (n < 0 && errno == EINTR) continue;
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
