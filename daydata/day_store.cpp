#include "daydata/day_store.h"

#include <cstdio>

#include "daydata/integer_text.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

const char kDataFolderName[] = "Myデータ";

// The entry dialog's reading of a whole file: any line end, stopping at the first NUL.
TLightStrings ReadEditorLines(const fs::path& path) {
  TLightStrings lines;
  std::string bytes;
  if (!platform::ReadFile(path, bytes) || bytes.empty()) return lines;
  lines = DayStore::SplitEditorText(bytes);
  return lines;
}

void Write(const fs::path& path, const TLightStrings& lines) {
  std::error_code error;
  if (!platform::ReplaceFile(path, lines.GetText(), error)) {
    throw EDayWriteError(error, path.string());
  }
}

}  // namespace

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

TLightStrings DayStore::SplitEditorText(std::string_view text) {
  TLightStrings lines;
  if (text.empty()) return lines;
  lines.SetText(text);
  return lines;
}

void DayStore::EnsureYearFolder(std::string_view year_text) {
  std::error_code ec;
  if (!fs::is_directory(data_dir_, ec)) {
    if (host_) host_->Notice("データフォルダがありません。起動した場所に作成します。", "注意。");
    fs::path fresh = startup_dir_ / kDataFolderName;
    fs::create_directory(fresh, ec);
    data_dir_ = fresh;
    if (host_) host_->DataDirRecreated(fresh);
  }
  if (!fs::is_directory(data_dir_, ec)) return;
  fs::path year = data_dir_ / std::string(year_text);
  if (fs::is_directory(year, ec)) return;
  if (fs::create_directory(year, ec) && host_) host_->Notice(year.string(), "現在フォルダ。");
}

LoadedDay DayStore::LoadDay(const fs::path& path) {
  LoadedDay day;
  TLightStrings lines = ReadEditorLines(path);
  if (lines.Count() > 0) {
    if (std::optional<std::int32_t> n = ParseInteger(lines.Get(0))) {
      if (*n >= 0 && *n <= 4) {
        day.colour = *n;
        day.source = ColourSource::kColourLine;
        lines.Delete(0);
      } else {
        day.source = ColourSource::kOutOfRange;
      }
    }
  }
  day.text = lines.GetText();
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
  if (code == "1" || code == "2" || code == "3" || code == "4") lines.Insert(0, std::string(code));
  // The folder may have moved if the data folder had to be made anew.
  fs::path target = path;
  if (!fs::exists(path.parent_path()))
    target = data_dir_ / path.parent_path().filename() / path.filename();
  Write(target, lines);
}

bool DayStore::StampDay(const fs::path& path, std::string_view label) {
  TLightStrings lines;
  if (!lines.TryLoadFromFile(path)) {
    Write(path, lines);  // an empty file first, as the label is about to go into it
  }
  if (lines.IndexOf(label) >= 0) return false;
  int at = lines.Count() > 0 && IsGridColourLine(lines.Get(0)) ? 1 : 0;
  lines.Insert(at, std::string(label));
  Write(path, lines);
  return true;
}

}  // namespace daydata
