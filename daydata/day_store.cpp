#include "daydata/day_store.h"

#include <algorithm>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/integer_text.h"
#include "settings/settings_location.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

void Write(const fs::path& path, const TLightStrings& lines) {
  std::error_code error;
  if (!platform::ReplaceFile(path, lines.GetText(), error)) {
    throw EDayWriteError(error, WriteFailureText(path, error));
  }
}

}  // namespace

std::string WriteFailureText(const fs::path& path, std::error_code error) {
  std::string reason;
  if (platform::IsReadOnlyFile(path))
    reason = "読み取り専用のファイルです";
  else if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
    reason = "書き込みが許可されていません";
  else if (error == std::errc::no_space_on_device)
    reason = "ディスクに空きがありません";
  else if (error == std::errc::no_such_file_or_directory)
    reason = "フォルダがありません";
  else if (error == std::errc::is_a_directory)
    reason = "同じ名前のフォルダがあります";
  else
    reason = error.message();
  return path.string() + " (" + reason + ")";
}

EDayWriteError::EDayWriteError(std::error_code code, const std::string& what)
    : std::system_error(code), what_(what) {}

unsigned ColourValueOf(int code) {
  static constexpr unsigned kValues[] = {0x000000, 0x0000FF, 0xFF0000, 0x008000, 0xFFFFFF};
  return code >= 0 && code <= 4 ? kValues[code] : 0;
}

std::string DayFileName(int year, int month, int day) {
  return DayFileName(std::to_string(year), month, day);
}

std::string DayFileName(std::string_view year_text, int month, int day) {
  char tail[16];
  std::snprintf(tail, sizeof tail, "%02d%02d.dat", month, day);
  return "KVR" + std::string(year_text) + tail;
}

bool IsGridColourLine(std::string_view line) {
  return line.size() == 1 && line[0] >= '0' && line[0] <= '4';
}

fs::path DayStore::DayFilePath(std::string_view year_text, std::string_view file_name) const {
  return data_dir_ / std::string(year_text) / std::string(file_name);
}

fs::path DayStore::DayFilePath(int year, int month, int day) const {
  return DayFilePath(std::to_string(year), DayFileName(year, month, day));
}

fs::path DayStore::ReadFolder(std::string_view year_text) const {
  fs::path year = data_dir_ / std::string(year_text);
  std::error_code ec;
  return fs::is_directory(year, ec) ? year : data_dir_;
}

fs::path DayStore::ReadPath(std::string_view year_text, std::string_view file_name) const {
  return ReadFolder(year_text) / std::string(file_name);
}

std::string DayStore::LoadView(std::span<const ViewPart> parts,
                               std::array<TLightStrings, 33>& lists) const {
  for (TLightStrings& list : lists) list.Clear();
  std::string year_text;
  for (const ViewPart& part : parts) {
    year_text = std::to_string(part.year);
    // One look at the year folder per part, not one per day.
    const fs::path folder = ReadFolder(year_text);
    for (int d = std::max(part.first_day, 1); d <= std::min(part.last_day, 32); ++d) {
      lists[static_cast<size_t>(d)].TryLoadFromFile(folder / DayFileName(year_text, part.month, d));
    }
  }
  return year_text;
}

TLightStrings DayStore::SplitEditorText(std::string_view text) {
  // Not TLightStrings::SetText, which ends the text at a NUL byte.
  TLightStrings lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    lines.Add(std::string(text.substr(pos, end - pos)));
    pos = end;
    if (pos < text.size()) {
      if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ++pos;
      ++pos;
    }
  }
  return lines;
}

void DayStore::EnsureYearFolder(std::string_view year_text) {
  std::error_code ec;
  if (!fs::is_directory(data_dir_, ec)) {
    if (host_) host_->Notice("データフォルダがありません。起動した場所に作成します。", "注意。");
    fs::path fresh = startup_dir_ / settings::kDefaultDataFolderName;
    fs::create_directory(fresh, ec);
    data_dir_ = fresh;
    if (host_) host_->DataDirRecreated(fresh);
  }
  if (!fs::is_directory(data_dir_, ec)) return;
  fs::path year = data_dir_ / std::string(year_text);
  if (fs::is_directory(year, ec)) return;
  if (fs::create_directory(year, ec) && host_) host_->Notice(year.string(), "現在フォルダ。");
}

// The entry dialog's reading of a whole file: any line end; a NUL byte is text like any other,
// so that nothing after it is lost when the day is saved again.
LoadedDay DayStore::LoadDay(const fs::path& path) {
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) bytes.clear();
  return ParseDay(bytes);
}

LoadedDay DayStore::ParseDay(std::string_view bytes) {
  // One pass over the bytes: a day file can be megabytes, and splitting it into a string a
  // line only to join them again cost more than reading it.
  LoadedDay day;
  if (bytes.empty()) return day;
  size_t first_end = bytes.find_first_of("\r\n");
  if (first_end == std::string_view::npos) first_end = bytes.size();
  if (std::optional<std::int32_t> n = platform::ParseInteger(bytes.substr(0, first_end))) {
    if (*n >= 0 && *n <= 4) {
      day.colour = *n;
      day.source = ColourSource::kColourLine;
      size_t next = first_end;
      if (next < bytes.size()) next += bytes.substr(next, 2) == "\r\n" ? 2 : 1;
      bytes.remove_prefix(next);
    } else {
      day.source = ColourSource::kOutOfRange;
    }
  }
  // Every line, the last one too, ends with CR LF, whatever ended it in the file.
  day.text.reserve(bytes.size() + 2);
  while (!bytes.empty()) {
    size_t end = bytes.find_first_of("\r\n");
    if (end == std::string_view::npos) end = bytes.size();
    day.text.append(bytes.substr(0, end));
    day.text += "\r\n";
    if (end < bytes.size()) end += bytes.substr(end, 2) == "\r\n" ? 2 : 1;
    bytes.remove_prefix(end);
  }
  return day;
}

void DayStore::SaveDay(const fs::path& path, std::string_view text, std::string_view code) {
  if (text.empty()) {
    // Nothing to keep: no folder is made, nothing is announced, and an old file goes.
    std::error_code ignore;
    fs::remove(path, ignore);
    return;
  }
  EnsureYearFolder(path.parent_path().filename().string());
  TLightStrings lines = SplitEditorText(text);
  if (code == "1" || code == "2" || code == "3" || code == "4") {
    lines.Insert(0, std::string(code));
  } else if (std::optional<std::int32_t> n = platform::ParseInteger(lines.Get(0));
             n && *n >= 0 && *n <= 4) {
    // A black day whose first line reads as a colour line ("3", " 2", "03") would come back
    // coloured and without that line; a "0" colour line on top keeps it text.
    lines.Insert(0, "0");
  }
  // The folder may have moved if the data folder had to be made anew.
  fs::path target = path;
  if (!fs::exists(path.parent_path()))
    target = data_dir_ / path.parent_path().filename() / path.filename();
  Write(target, lines);
}

bool DayStore::StampDay(const fs::path& path, std::string_view label) {
  std::string bytes;
  std::error_code ec;
  if (!platform::ReadFile(path, bytes) &&
      fs::symlink_status(path, ec).type() != fs::file_type::not_found) {
    // Something is there that cannot be read: the label written alone would replace the day.
    throw EDayWriteError(std::make_error_code(std::errc::permission_denied),
                         path.string() + " (読み込めないため書き込みません)");
  }
  TLightStrings lines;
  lines.SetFileText(bytes);
  if (lines.IndexOf(label) >= 0) return false;
  // The label line goes into the bytes as they are, not into the lines read back: the stamp
  // reader ends the text at Ctrl+Z, and the entry dialog shows what follows it.
  std::string stamped;
  if (lines.Count() > 0 && IsGridColourLine(lines.Get(0))) {
    size_t after = 1;
    if (after < bytes.size() && bytes[after] == '\r') {
      ++after;
      if (after < bytes.size() && bytes[after] == '\n') ++after;
      stamped = bytes.substr(0, after) + std::string(label) + "\r\n" + bytes.substr(after);
    } else {
      stamped = bytes.substr(0, after) + "\r\n" + std::string(label) + "\r\n" + bytes.substr(after);
    }
  } else {
    stamped = std::string(label) + "\r\n" + bytes;
  }
  if (!platform::ReplaceFile(path, stamped, ec))
    throw EDayWriteError(ec, WriteFailureText(path, ec));
  return true;
}

}  // namespace daydata
