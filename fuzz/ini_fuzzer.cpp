// Treats the input as a settings file edited by hand plus one key to write: reads every key
// line of the file, writes the key, and reads it back. The value written must come back, and
// every other line of the file must survive in order (only the edited line may change, and
// at most a new key line and a new section line may appear). The first three bytes give the
// lengths of the section, key and value that follow them; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/memory_folder.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "settings/ini_store.h"
#include "settings/schema.h"

namespace {

std::vector<std::string> LineTexts(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back(bytes.substr(pos));
      break;
    }
    lines.push_back(bytes.substr(pos, end - pos));
    pos = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

// The length of the longest common subsequence. Lines the two share at the start and at the
// end belong to one such subsequence, so only what lies between them needs the quadratic
// table; a write changes one line, and a file of thousands of lines would otherwise cost
// millions of comparisons a run.
size_t CommonSubsequence(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  const size_t a_end = a.size() - tail, b_end = b.size() - tail;
  std::vector<size_t> row(b_end - head + 1, 0), next(b_end - head + 1, 0);
  for (size_t i = a_end; i-- > head;) {
    for (size_t j = b_end; j-- > head;) {
      next[j - head] =
          a[i] == b[j] ? row[j - head + 1] + 1 : std::max(row[j - head], next[j - head + 1]);
    }
    std::swap(row, next);
  }
  return head + row[0] + tail;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v';
}

// A name that the file can hold: none of the given bytes, no blanks around it, and no lead
// byte left without its trail byte at the end (it would swallow the "]" or "=" after it).
std::string Clean(std::string text, const std::string& banned) {
  std::string out;
  for (char c : text) {
    if (banned.find(c) == std::string::npos) out += c;
  }
  size_t start = 0;
  while (start < out.size() && IsBlank(out[start])) ++start;
  out.erase(0, start);
  // Dropping a trailing blank can leave a lead byte at the end again, and the other way round.
  for (bool changed = true; changed;) {
    changed = false;
    while (!out.empty() && IsBlank(out.back())) out.pop_back(), changed = true;
    size_t i = 0;
    while (i < out.size()) {
      size_t step = cp932::IsLeadByte(static_cast<unsigned char>(out[i])) ? 2 : 1;
      if (i + step > out.size()) {
        out.erase(i);
        changed = true;
        break;
      }
      i += step;
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > 8192) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  size_t pos = 3;
  auto take = [&](size_t n) {
    n = std::min(n, size - pos);
    std::string part(bytes + pos, n);
    pos += n;
    return part;
  };
  const std::string section = Clean(take(data[0] % 16), std::string("]\r\n\0", 4));
  const std::string key = Clean(take(data[1] % 16), std::string("[]=;\r\n\0", 7));
  const std::string value = Clean(take(data[2] % 32), std::string("\"'\r\n\0", 5));
  const std::string file(bytes + pos, size - pos);
  if (section.empty() || key.empty()) return 0;

  static const fuzz::MemoryFolder folder("mirune_ini_fuzz");
  static const std::filesystem::path path = folder.path() / "mirune.ini";
  std::error_code error;
  if (!platform::ReplaceFile(path, file, error)) abort();
  settings::IniStore ini(path);

  // Every read of the key lines: nothing may crash, whatever the file holds. Each read goes
  // through the whole file, so the first 64 key lines are read, lest a file of thousands of
  // lines cost millions of line reads a run; what the file holds after them still passes
  // through every read.
  std::string current_section;
  int reads_left = 64;
  for (const std::string& line : LineTexts(file)) {
    size_t eq = line.find('=');
    if (!line.empty() && line[0] == '[') current_section = line.substr(1, line.find(']') - 1);
    if (eq == std::string::npos || reads_left == 0) continue;
    --reads_left;
    const std::string name = line.substr(0, eq);
    ini.ReadString(current_section, name, "");
    ini.ReadInteger(current_section, name, 0);
    settings::FindKey(current_section, name);
  }

  ini.WriteValue(section, key, value);
  std::string after;
  platform::ReadFile(path, after);
  std::optional<std::string> read_back = ini.ReadValue(section, key);
  if (!read_back || *read_back != value) abort();

  const std::vector<std::string> before_lines = LineTexts(file);
  const std::vector<std::string> after_lines = LineTexts(after);
  if (after_lines.size() < before_lines.size() || after_lines.size() > before_lines.size() + 2) {
    abort();
  }
  const size_t kept = CommonSubsequence(before_lines, after_lines);
  if (kept + 1 < before_lines.size()) abort();
  if (kept < before_lines.size() && after_lines.size() != before_lines.size()) abort();
  return 0;
}
