// Any bytes as a day file, through the entry dialog's path: LoadDay, then SaveDay of what it
// gave (the text and the colour code, as the dialog saves a day nobody changed), then LoadDay
// again. The second load must give the same text and colour; a first line that stood as text
// (an integer outside 0-4) must still be text, and a colour line 1-4 still a colour line. A
// day with no text is deleted, so it comes back as no day at all. Saving what the second load
// gave must write the same bytes again. The files live in a folder of this process under the
// temporary folder (TMPDIR; a memory file system keeps each run fast).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "daydata/day_store.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace {

struct Folder {
  fs::path data = fs::temp_directory_path() / ("mirune_day_fuzz_" + std::to_string(getpid()));
  Folder() { fs::create_directories(data / "2026"); }
  ~Folder() {
    std::error_code ignore;
    fs::remove_all(data, ignore);
  }
};

std::string Bytes(const fs::path& path) {
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) std::abort();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  static Folder folder;
  static daydata::DayStore store(folder.data, folder.data);
  const fs::path given = store.DayFilePath(2026, 1, 1);
  const fs::path saved = store.DayFilePath(2026, 1, 2);
  std::error_code error;
  if (!platform::ReplaceFile(given, std::string(reinterpret_cast<const char*>(data), size), error))
    std::abort();

  const daydata::LoadedDay first = daydata::DayStore::LoadDay(given);
  if (first.colour < 0 || first.colour > 4) std::abort();
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
