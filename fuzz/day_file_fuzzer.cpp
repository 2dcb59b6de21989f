// Any bytes as a day file, through the entry dialog's path: LoadDay, then SaveDay of what it
// gave (the text and the colour code, as the dialog saves a day nobody changed), then LoadDay
// again. The second load must give the same text and colour; a first line that stood as text
// (an integer outside 0-4) must still be text, and a colour line 1-4 still a colour line. A
// day with no text is deleted, so it comes back as no day at all. Saving what the second load
// gave must write the same bytes again. Stamping a label on the day (Stamp) is checked too. The
// files live in a folder of this process, in memory where the machine allows
// (fuzz/memory_folder.h).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "daydata/day_store.h"
#include "daydata/light_strings.h"
#include "fuzz/memory_folder.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) std::abort();
  return bytes;
}

// A label stamped on top (after a colour line 0-4 of its own, the grid's rule) adds that one
// line and changes nothing else the entry dialog shows; a second stamp writes nothing.
void Stamp(const fs::path& path, const daydata::LoadedDay& before) {
  static const std::string label = "\x8C\xB3\x93\xFA";  // 元日
  const std::string bytes = Bytes(path);
  daydata::TLightStrings lines;
  lines.SetFileText(bytes);
  const bool colour_line = lines.Count() > 0 && daydata::IsGridColourLine(lines.Get(0));
  if (!daydata::DayStore::StampDay(path, label)) {
    if (lines.IndexOf(label) < 0 || Bytes(path) != bytes) std::abort();
    return;
  }
  const daydata::LoadedDay after = daydata::DayStore::LoadDay(path);
  if (colour_line && before.source == daydata::ColourSource::kColourLine) {
    if (after.colour != before.colour || after.text != label + "\r\n" + before.text) std::abort();
  } else if (colour_line) {
    // "3" and Ctrl+Z: a colour line for the grid, text for the dialog, which reads on to the
    // next line end. The stamp ends the line, so both readers agree afterwards.
  } else if (after.text != label + "\r\n" + daydata::DayStore::SplitEditorText(bytes).GetText()) {
    std::abort();
  }
  const std::string stamped = Bytes(path);
  if (daydata::DayStore::StampDay(path, label) || Bytes(path) != stamped) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  static const fuzz::MemoryFolder folder("mirune_day_fuzz");
  static const bool year_made = fs::create_directories(folder.path() / "2026");
  (void)year_made;
  static daydata::DayStore store(folder.path(), folder.path());
  const fs::path given = store.DayFilePath(2026, 1, 1);
  const fs::path saved = store.DayFilePath(2026, 1, 2);
  std::error_code error;
  if (!platform::ReplaceFile(given, std::string(reinterpret_cast<const char*>(data), size), error))
    std::abort();

  const daydata::LoadedDay first = daydata::DayStore::LoadDay(given);
  if (first.colour < 0 || first.colour > 4) std::abort();
  Stamp(given, first);
  store.SaveDay(saved, first.text, std::to_string(first.colour));
  const daydata::LoadedDay second = daydata::DayStore::LoadDay(saved);
  if (first.text.empty()) {
    if (fs::exists(saved) || !second.text.empty() || second.colour != 0) std::abort();
    return 0;
  }
  if (second.text != first.text || second.colour != first.colour) std::abort();
  if (first.source == daydata::ColourSource::kOutOfRange &&
      second.source != daydata::ColourSource::kOutOfRange)
    std::abort();
  if (first.source == daydata::ColourSource::kColourLine && first.colour != 0 &&
      second.source != daydata::ColourSource::kColourLine)
    std::abort();

  // An unchanged day saved twice is the same file.
  const std::string once = Bytes(saved);
  store.SaveDay(saved, second.text, std::to_string(second.colour));
  if (Bytes(saved) != once) std::abort();
  return 0;
}
