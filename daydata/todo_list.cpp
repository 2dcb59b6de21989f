#include "daydata/todo_list.h"

#include <algorithm>

#include "daydata/day_store.h"
#include "daydata/light_strings.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

// Lower-case folding of single-byte ASCII letters only; a lead byte and its trail byte pass
// unchanged, as a trail byte may look like an ASCII letter.
std::string FoldKey(std::string_view text) {
  std::string key(text);
  for (std::size_t i = 0; i < key.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (cp932::IsLeadByte(c) && i + 1 < key.size()) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      key[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return key;
}

}  // namespace

fs::path MemoFilePath(const fs::path& startup_dir) {
  return startup_dir / "覚書.dat";
}
fs::path ToDoFilePath(const fs::path& startup_dir) {
  return startup_dir / "ToDo.dat";
}

bool ToDoLess(std::string_view a, std::string_view b) {
  const std::string ka = FoldKey(a), kb = FoldKey(b);
  return std::lexicographical_compare(
      ka.begin(), ka.end(), kb.begin(), kb.end(),
      [](char x, char y) { return static_cast<unsigned char>(x) < static_cast<unsigned char>(y); });
}

void SortToDo(std::vector<std::string>& items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const std::string& a, const std::string& b) { return ToDoLess(a, b); });
}

std::size_t InsertToDo(std::vector<std::string>& items, std::string entry) {
  auto at = std::upper_bound(
      items.begin(), items.end(), entry,
      [](const std::string& e, const std::string& item) { return ToDoLess(e, item); });
  std::size_t index = static_cast<std::size_t>(at - items.begin());
  items.insert(at, std::move(entry));
  return index;
}

std::string ToDoEntry(std::string_view day_file_name, std::string_view selection) {
  if (selection.empty()) return {};
  // Characters 8-9 and 10-11 (counting from 1) of the file name are the month and the day.
  std::string month = day_file_name.size() >= 9 ? std::string(day_file_name.substr(7, 2)) : "";
  std::string day = day_file_name.size() >= 11 ? std::string(day_file_name.substr(9, 2)) : "";
  static const std::string kColon = cp932::FromUtf8("：");
  return month + "/" + day + kColon + std::string(selection);
}

std::optional<std::vector<std::string>> ReadToDo(const fs::path& path) {
  TLightStrings lines;
  if (!lines.TryLoadFromFile(path)) return std::nullopt;
  std::vector<std::string> items;
  items.reserve(static_cast<std::size_t>(lines.Count()));
  for (std::int32_t i = 0; i < lines.Count(); ++i) items.push_back(lines[i]);
  return items;
}

bool WriteToDo(const fs::path& path, const std::vector<std::string>& items) {
  std::string bytes;
  for (const std::string& item : items) bytes += item + "\r\n";
  std::error_code error;
  return platform::ReplaceFile(path, bytes, error);
}

std::optional<std::string> ReadMemo(const fs::path& path) {
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) return std::nullopt;
  return bytes;
}

void SaveMemo(const fs::path& path, std::string_view text) {
  if (text.empty()) {
    std::error_code ignore;
    fs::remove(path, ignore);
    return;
  }
  std::error_code error;
  if (!platform::ReplaceFile(path, text, error))
    throw EDayWriteError(error, WriteFailureText(path, error));
}

}  // namespace daydata
