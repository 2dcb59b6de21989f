// TLightStrings: a small list of code page 932 strings without sorting, objects or change
// events. The month grid keeps one per day row, and day files are read and stamped with it; its
// file reader has its own line rules (CR and CR LF end a line, a lone LF is an ordinary byte,
// Ctrl+Z ends the file), which are part of the day file format.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace daydata {

// The list's index and size error.
class EListError : public std::runtime_error {
 public:
  EListError();
};

// A file the list could not open, read or write.
class EInOutError : public std::system_error {
 public:
  EInOutError(std::error_code code, const std::string& what) : std::system_error(code, what) {}
};

class TLightStrings {
 public:
  static constexpr std::int32_t kMaxCapacity = 0x8000000;  // capacity stays below this
  static constexpr std::int32_t kGrowth = 32;
  static constexpr std::int32_t kBytesPerLine = 28;  // presizing estimate for reads

  TLightStrings() = default;
  virtual ~TLightStrings() { Clear(); }
  TLightStrings(const TLightStrings&) = default;
  TLightStrings& operator=(const TLightStrings&) = default;

  std::int32_t Count() const { return count_; }
  std::int32_t Capacity() const { return static_cast<std::int32_t>(items_.size()); }

  std::int32_t Add(std::string s);
  void Insert(std::int32_t index, std::string s);
  void Delete(std::int32_t index);
  const std::string& Get(std::int32_t index) const;
  const std::string& operator[](std::int32_t index) const { return Get(index); }
  void Clear();

  virtual std::string GetText() const;
  virtual void SetText(std::string_view text);
  virtual void SetCount(std::int32_t n);
  virtual void SetCapacity(std::int32_t n);
  virtual void SetCommaText(std::string_view text);
  virtual std::string GetCommaText() const;
  [[noreturn]] virtual void Error() const;
  virtual void LoadFromFile(const std::filesystem::path& path);
  // The same without the exception: a missing or unreadable file leaves the list empty and
  // gives false, which is the ordinary case of a day nobody wrote.
  bool TryLoadFromFile(const std::filesystem::path& path);
  virtual void SaveToFile(const std::filesystem::path& path) const;
  virtual void SaveToStream(std::ostream& stream) const;
  virtual void LoadFromStream(std::istream& stream);
  virtual std::int32_t IndexOf(std::string_view s) const;

  // Replaces the contents by the lines of `bytes` read as a text file would be (the rules of
  // LoadFromFile).
  void SetFileText(std::string_view bytes);

 private:
  void Grow();

  std::vector<std::string> items_;
  std::int32_t count_ = 0;
};

}  // namespace daydata
