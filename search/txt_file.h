// TTxtFile: the grep's streaming reader. It reads a file (or bytes in memory, the same way) in
// blocks of 102400 bytes into one buffer that begins with a line feed (so the first line has a
// line head like every other), reads NUL bytes as blanks, ends the last line with a line feed
// when the file does not, and keeps the unfinished line of earlier blocks in front of the next
// one, so lines of any length are available whole. A large regular file may be mapped instead and
// handed out in the same blocks, without copying: copying it through the buffer would cost
// about as much as searching it. The 16 bytes after the last block are zeros; those after an
// earlier block are the file's next bytes.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace search {

// The file cannot be opened; the message is the platform's.
class EFileNotFound : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The caller asked the running search to stop.
class EGrepCancel : public std::runtime_error {
 public:
  EGrepCancel() : std::runtime_error("CancelRequest") {}
};

class TTxtFile {
 public:
  static constexpr size_t kBlockSize = 102400;
  // Files at least this large are mapped rather than read block by block.
  static constexpr size_t kMapSize = 1 << 20;

  // Opens the file; throws EFileNotFound. `cancel`, `cancel_request` (may be null) and
  // `process_messages` belong to the owner: after every block the owner's pending events are
  // processed and a cancel request (either flag) raises EGrepCancel.
  // `buffer` is the owner's and is reused from file to file: it is never cleared, only grown,
  // so that a search of thousands of small files does not fill 100 KB for each.
  TTxtFile(const std::filesystem::path& path, std::string& buffer, const bool& cancel,
           const std::atomic<bool>* cancel_request, const std::function<void()>& process_messages);
  // The same for `name` relative to the open directory `dir_fd`, so that a search of many files
  // in one folder neither looks the folder up again for each file nor depends on the working
  // directory (which belongs to the whole process).
  TTxtFile(int dir_fd, const char* name, std::string& buffer, const bool& cancel,
           const std::atomic<bool>* cancel_request, const std::function<void()>& process_messages);
  // Reads `text` (the caller's, alive while this is) as the bytes of a file named `name`, so
  // that text already in memory needs no file of its own.
  TTxtFile(std::string_view text, const char* name, std::string& buffer, const bool& cancel,
           const std::atomic<bool>* cancel_request, const std::function<void()>& process_messages);
  ~TTxtFile();
  TTxtFile(const TTxtFile&) = delete;
  TTxtFile& operator=(const TTxtFile&) = delete;

  // Lets a regular file of kMapSize or more be mapped rather than read; before the first block.
  void AllowMapping() { may_map_ = true; }

  // Drops the bytes before `keep` (the unfinished line stays, moved to the front) and reads the
  // next block behind the rest. Returns false, changing nothing, when the file has no more bytes.
  bool ReadBlock(size_t keep);

  const unsigned char* Data() const {
    return map_ ? map_data_ + dropped_ : reinterpret_cast<const unsigned char*>(buffer_.data());
  }
  size_t Size() const { return size_; }
  // True once the last block is in the buffer (with its closing line feed).
  bool AtEof() const { return eof_; }
  // Bytes dropped from the front so far.
  std::uint64_t Dropped() const { return dropped_; }
  // The whole file from its leading line feed when it is mapped, so that dropped bytes stay
  // readable (Data() is Whole() + Dropped()); else null.
  const unsigned char* Whole() const { return map_ ? map_data_ : nullptr; }

  // Lets the owner's events through and raises EGrepCancel on a cancel request.
  void Yield() const;

 private:
  [[noreturn]] static void Fail(const char* name, int error);
  // Maps the whole file when it is a regular file of kMapSize or more; false (nothing
  // changed) when it is not or cannot be mapped.
  bool MapWhole();
  void MakeWritable(size_t from, size_t to);  // bytes of map_data_
  bool NextWindow(size_t keep);

  // Up to `size` more bytes of the file, as read(2) returns them.
  ssize_t ReadSome(char* to, size_t size);

  int fd_ = -1;
  bool may_map_ = false;
  const char* text_ = nullptr;  // the bytes not read yet when there is no file
  size_t text_left_ = 0;
  void* map_ = nullptr;  // the mapping, with a page before and after the file's bytes
  size_t map_length_ = 0;
  unsigned char* map_data_ = nullptr;  // the leading line feed, then the file
  size_t map_size_ = 0;                // bytes from map_data_, the closing line feed included
  size_t page_ = 0;
  const char* name_ = "";  // the caller's, alive while the file is
  std::string& buffer_;
  size_t size_ = 0;
  bool started_ = false;
  bool eof_ = false;
  std::uint64_t dropped_ = 0;
  const bool& cancel_;
  const std::atomic<bool>* cancel_request_;
  const std::function<void()>& process_messages_;
};

}  // namespace search
