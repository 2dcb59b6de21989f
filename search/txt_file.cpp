#include "search/txt_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace search {

namespace {

// A NUL of the file reads as a blank.
void BlankNuls(char* block, size_t n) {
  for (char* nul = static_cast<char*>(std::memchr(block, 0, n)); nul;
       nul =
           static_cast<char*>(std::memchr(nul + 1, 0, n - static_cast<size_t>(nul + 1 - block)))) {
    *nul = ' ';
    if (nul + 1 == block + n) break;
  }
}

}  // namespace

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
  if (map_) ::munmap(map_, map_length_);
  if (fd_ >= 0) ::close(fd_);
}

bool TTxtFile::MapWhole() {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
      static_cast<std::uint64_t>(st.st_size) < kMapSize) {
    return false;
  }
  const auto size = static_cast<size_t>(st.st_size);
  page_ = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  // A page in front holds the leading line feed. Behind the file's bytes the rest of its last
  // page reads as zeros, and an anonymous page follows, so the closing line feed and the
  // padding scanners peek at always have room. The file's pages are mapped private and read
  // only, so that they are filled in one go without being copied; a page is made writable only
  // to blank a NUL or to close the last line, and then only that page is copied. A file cut
  // short by another program while it is mapped ends the process, which is why only the owner's
  // say-so (AllowMapping) lets it be mapped.
  const size_t length = page_ + (size + page_ - 1) / page_ * page_ + page_;
  void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return false;
  auto* bytes = static_cast<unsigned char*>(base);
  if (::mmap(bytes + page_, size, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd_, 0) ==
      MAP_FAILED) {
    ::munmap(base, length);
    return false;
  }
  map_ = base;
  map_length_ = length;
  map_data_ = bytes + page_ - 1;
  map_data_[0] = '\n';
  map_size_ = 1 + size;
  if (map_data_[map_size_ - 1] != '\n') {
    MakeWritable(map_size_, map_size_ + 1);
    map_data_[map_size_++] = '\n';
  }
  return true;
}

void TTxtFile::MakeWritable(size_t from, size_t to) {
  auto* bytes = static_cast<unsigned char*>(map_);
  auto first = static_cast<size_t>(map_data_ + from - bytes) / page_ * page_;
  if (::mprotect(bytes + first, static_cast<size_t>(map_data_ + to - bytes) - first,
                 PROT_READ | PROT_WRITE) != 0) {
    Fail(name_, errno);
  }
}

// The mapped file is handed out in the same blocks as a read one, so that the scanners work on
// bytes that are still in the cache; dropping the front only moves the window.
bool TTxtFile::NextWindow(size_t keep) {
  if (keep > size_) keep = size_;
  dropped_ += keep;
  size_ -= keep;
  const size_t from = dropped_ + size_;
  const size_t to = std::min(map_size_, from + kBlockSize);
  if (const void* nul = std::memchr(map_data_ + from, 0, to - from)) {
    size_t at = static_cast<size_t>(static_cast<const unsigned char*>(nul) - map_data_);
    MakeWritable(at, to);
    BlankNuls(reinterpret_cast<char*>(map_data_ + at), to - at);
  }
  size_ += to - from;
  eof_ = to == map_size_;
  Yield();
  return true;
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
  if (map_) return NextWindow(keep);
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
  if (!started_ && may_map_ && got == kBlockSize && MapWhole()) {
    started_ = true;
    return NextWindow(0);
  }
  if (got == 0) {
    // An empty file reads nothing at all, not even its leading line feed.
    if (!started_) return false;
    if (base == 0 || buffer_[base - 1] == '\n') return false;
  } else {
    BlankNuls(buffer_.data() + base, got);
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
