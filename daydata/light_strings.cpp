#include "daydata/light_strings.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>

#include "platform/file_system.h"

namespace daydata {

EListError::EListError() : std::runtime_error("インデックスがリストの範囲を超えています") {}

void TLightStrings::Error() const {
  throw EListError();
}

void TLightStrings::Grow() {
  SetCapacity(Capacity() + kGrowth);
}

std::int32_t TLightStrings::Add(std::string s) {
  if (count_ == Capacity()) Grow();
  items_[count_] = std::move(s);
  return count_++;
}

void TLightStrings::Insert(std::int32_t index, std::string s) {
  if (index < 0 || index > count_) Error();
  if (count_ == Capacity()) Grow();
  for (std::int32_t i = count_; i > index; --i) items_[i] = std::move(items_[i - 1]);
  items_[index] = std::move(s);
  ++count_;
}

void TLightStrings::Delete(std::int32_t index) {
  if (index < 0 || index >= count_) Error();
  for (std::int32_t i = index; i + 1 < count_; ++i) items_[i] = std::move(items_[i + 1]);
  --count_;
  items_[count_].clear();
  items_[count_].shrink_to_fit();
}

const std::string& TLightStrings::Get(std::int32_t index) const {
  if (index < 0 || index >= count_) Error();
  return items_[index];
}

void TLightStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  items_.shrink_to_fit();
  count_ = 0;
}

void TLightStrings::SetCapacity(std::int32_t n) {
  if (n >= kMaxCapacity || n < count_) Error();
  if (n == Capacity()) return;
  const size_t size = static_cast<size_t>(n);
  if (size < items_.size()) {
    items_.resize(size);
    items_.shrink_to_fit();
    return;
  }
  // The list grows by kGrowth lines at a time, as callers see it; the storage below grows
  // geometrically, so that a file of many lines loads in linear time, not by a copy of every
  // line so far for each 32 more.
  if (size > items_.capacity()) items_.reserve(std::max(size, items_.capacity() * 2));
  items_.resize(size);
}

void TLightStrings::SetCount(std::int32_t n) {
  if (n < 0 || n > kMaxCapacity - 1) Error();
  if (n > Capacity()) SetCapacity(n);
  for (std::int32_t i = n; i < count_; ++i) {
    items_[i].clear();
    items_[i].shrink_to_fit();
  }
  count_ = n;
}

std::int32_t TLightStrings::IndexOf(std::string_view s) const {
  for (std::int32_t i = 0; i < count_; ++i) {
    if (items_[i] == s) return i;
  }
  return -1;
}

std::string TLightStrings::GetText() const {
  size_t size = 0;
  for (std::int32_t i = 0; i < count_; ++i) size += items_[i].size() + 2;
  std::string text;
  text.reserve(size);
  for (std::int32_t i = 0; i < count_; ++i) {
    text += items_[i];
    text += "\r\n";
  }
  return text;
}

void TLightStrings::SetText(std::string_view text) {
  Clear();
  SetCapacity(
      static_cast<std::int32_t>(std::min<size_t>(text.size() / kBytesPerLine, kMaxCapacity - 1)));
  size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  size_t pos = 0;
  do {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    Add(std::string(text.substr(pos, end - pos)));
    pos = end;
    if (pos < text.size()) {
      if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      ++pos;
    }
  } while (pos < text.size());
  SetCapacity(count_);
}

void TLightStrings::SetFileText(std::string_view bytes) {
  Clear();
  SetCapacity(
      static_cast<std::int32_t>(std::min<size_t>(bytes.size() / kBytesPerLine, kMaxCapacity - 1)));
  size_t eof = bytes.find('\x1A');
  if (eof != std::string_view::npos) bytes = bytes.substr(0, eof);
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\r', pos);
    if (end == std::string_view::npos) end = bytes.size();
    Add(std::string(bytes.substr(pos, end - pos)));
    pos = end;
    if (pos < bytes.size()) {
      ++pos;  // the CR
      if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
    }
  }
  SetCapacity(count_);
}

void TLightStrings::LoadFromFile(const std::filesystem::path& path) {
  if (!TryLoadFromFile(path)) {
    throw EInOutError(std::make_error_code(std::errc::io_error), "cannot read " + path.string());
  }
}

bool TLightStrings::TryLoadFromFile(const std::filesystem::path& path) {
  Clear();
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) return false;
  SetFileText(bytes);
  return true;
}

void TLightStrings::SaveToFile(const std::filesystem::path& path) const {
  std::error_code error;
  if (!platform::ReplaceFile(path, GetText(), error)) {
    throw EInOutError(error, "cannot write " + path.string());
  }
}

void TLightStrings::SaveToStream(std::ostream& stream) const {
  stream << GetText();
}

void TLightStrings::LoadFromStream(std::istream& stream) {
  Clear();
  std::string rest((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  if (!rest.empty()) SetText(rest);
}

std::string TLightStrings::GetCommaText() const {
  std::string text;
  for (std::int32_t i = 0; i < count_; ++i) {
    if (i > 0) text += ',';
    const std::string& s = items_[i];
    if (s.find_first_of(" ,") != std::string::npos) {
      text += '"';
      text += s;
      text += '"';
    } else {
      text += s;
    }
  }
  return text;
}

void TLightStrings::SetCommaText(std::string_view text) {
  Clear();
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '"') {
      ++pos;
      size_t end = text.find_first_of("\"\r", pos);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(pos, end - pos)));
      pos = end + 2;  // past the closing quote and the separator after it
    } else {
      size_t end = text.find_first_of(",\"\r", pos);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(pos, end - pos)));
      pos = end + 1;
    }
  }
}

}  // namespace daydata
