// Any bytes as the files of the start-up folder that belong to no day: the memo, the ToDo list
// and the birthday and special-day lists. Each is read, written and read again, and the second
// reading must equal the first (the memo byte for byte; an empty memo is no file). The ToDo
// list, sorted and with an entry inserted, must stay in its order, and every record of the
// special lists must give a stamp on a real day with a label of at most 20 bytes plus the
// suffix, or none, or the record error. The first byte chooses the list; the files live in a
// folder of this process, in memory where the machine allows (fuzz/memory_folder.h).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "daydata/todo_list.h"
#include "daydata/yearly_day_list.h"
#include "fuzz/memory_folder.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace {

void Memo(const fs::path& dir, const std::string& bytes) {
  const fs::path path = daydata::MemoFilePath(dir);
  daydata::SaveMemo(path, bytes);
  std::optional<std::string> read = daydata::ReadMemo(path);
  if (bytes.empty() ? read.has_value() : read != bytes) std::abort();
}

void ToDo(const fs::path& dir, const std::string& bytes) {
  const fs::path path = daydata::ToDoFilePath(dir);
  std::error_code error;
  if (!platform::ReplaceFile(path, bytes, error)) std::abort();
  std::optional<std::vector<std::string>> first = daydata::ReadToDo(path);
  if (!first || !daydata::WriteToDo(path, *first)) std::abort();
  if (daydata::ReadToDo(path) != first) std::abort();

  std::vector<std::string> sorted = *first;
  daydata::SortToDo(sorted);
  if (!std::is_sorted(sorted.begin(), sorted.end(), daydata::ToDoLess)) std::abort();
  std::string entry = daydata::ToDoEntry("KVR20260503.dat", first->empty() ? "x" : first->back());
  std::size_t at = daydata::InsertToDo(sorted, entry);
  if (at >= sorted.size() || sorted[at] != entry) std::abort();
  if (!std::is_sorted(sorted.begin(), sorted.end(), daydata::ToDoLess)) std::abort();
}

void Special(const fs::path& dir, const std::string& bytes, daydata::SpecialListKind kind) {
  const fs::path path = daydata::SpecialListPath(dir, kind);
  std::error_code error;
  if (!platform::ReplaceFile(path, bytes, error)) std::abort();
  daydata::SpecialDayList first(kind), second(kind);
  if (!first.Load(path)) std::abort();
  first.Save(path);
  if (!second.Load(path) || second.Records() != first.Records()) std::abort();

  const std::string suffix = daydata::BirthdaySuffixOf(0);
  for (const std::string& record : first.Records()) {
    if (record.empty()) std::abort();  // empty lines are no records
    for (int year : {2024, 2026}) {
      std::optional<daydata::SpecialStamp> stamp;
      try {
        stamp = kind == daydata::SpecialListKind::kBirthday
                    ? daydata::BirthdayStamp(record, year, suffix)
                    : daydata::SpecialDayStamp(record, year);
      } catch (const daydata::ESpecialRecordError&) {
        continue;
      }
      if (!stamp) continue;
      if (!daydata::IsRealMonthDay(stamp->month, stamp->day)) std::abort();
      if (stamp->month == 2 && stamp->day == 29 && year != 2024) std::abort();
      // A birthday adds the suffix and "(N歳)": a year of four characters makes N at most
      // 2026 + 999, four digits.
      const std::size_t most = kind == daydata::SpecialListKind::kBirthday
                                   ? daydata::kLabelTextBytes + suffix.size() + 1 + 4 + 3
                                   : daydata::kLabelTextBytes;
      if (stamp->label.size() > most) std::abort();
    }
  }
  if (!first.Records().empty()) {
    std::vector<std::string> sorted = first.Sorted();
    if (!first.DeleteSorted(0)) std::abort();
    sorted.erase(sorted.begin());
    if (first.Records() != sorted) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 4096) return 0;
  static const fuzz::MemoryFolder folder("mirune_list_fuzz");
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0:
      Memo(folder.path(), bytes);
      break;
    case 1:
      ToDo(folder.path(), bytes);
      break;
    case 2:
      Special(folder.path(), bytes, daydata::SpecialListKind::kBirthday);
      break;
    default:
      Special(folder.path(), bytes, daydata::SpecialListKind::kSpecialDay);
      break;
  }
  return 0;
}
