#include "daydata/yearly_day_list.h"

#include <algorithm>
#include <system_error>

#include "calendar/calendar_math.h"
#include "daydata/day_store.h"
#include "daydata/light_strings.h"
#include "daydata/todo_list.h"
#include "platform/cp932.h"
#include "platform/integer_text.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

std::string_view Field(std::string_view record, std::size_t from, std::size_t length) {
  if (from >= record.size()) return {};
  return record.substr(from, length);
}

std::optional<int> NumberIn(std::string_view text, int low, int high) {
  std::optional<std::int32_t> n = platform::ParseInteger(text);
  if (!n || *n < low || *n > high) return std::nullopt;
  return *n;
}

// The year of birth and the day stop the write when they are no number, as they always did:
// such a line was written by hand and the user should hear of it.
int RequiredNumber(std::string_view text, std::string_view record) {
  std::optional<std::int32_t> n = platform::ParseInteger(text);
  if (!n) throw ESpecialRecordError("読めない記録があります: " + cp932::ToUtf8(record));
  return *n;
}

const std::string& AgeUnit() {
  static const std::string unit = cp932::FromUtf8("歳)");
  return unit;
}

}  // namespace

bool IsRealMonthDay(int month, int day) {
  static constexpr int kLongest[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 1 && month <= 12 && day >= 1 && day <= kLongest[month - 1];
}

fs::path SpecialListPath(const fs::path& startup_dir, SpecialListKind kind) {
  return startup_dir / (kind == SpecialListKind::kBirthday ? "Birthday.dat" : "Specialday.dat");
}

std::string TwoCharField(std::string_view text) {
  return text.size() == 1 ? "0" + std::string(text) : std::string(text);
}

std::string BirthdayRecord(int year, std::string_view month, std::string_view day,
                           std::string_view name) {
  return std::to_string(year) + "/" + TwoCharField(month) + "/" + TwoCharField(day) + "/" +
         std::string(name);
}

std::string SpecialDayRecord(std::string_view month, std::string_view day,
                             std::string_view subject) {
  return TwoCharField(month) + "/" + TwoCharField(day) + "/" + std::string(subject);
}

std::string CutToWholeCharacters(std::string_view text, std::size_t max_bytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        cp932::IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > max_bytes) break;
    end += width;
  }
  return std::string(text.substr(0, end));
}

std::optional<SpecialStamp> BirthdayStamp(std::string_view record, int shown_year,
                                          std::string_view suffix) {
  // 1970/03/05/name: the year in characters 1-4, the month in 6-7, the day in 9-10, the name
  // from 12 on.
  const int born = RequiredNumber(Field(record, 0, 4), record);
  const int day = RequiredNumber(Field(record, 8, 2), record);
  // The month names a file, so only a real month is taken: two arbitrary characters there
  // could put a separator into the file name.
  std::optional<int> month = NumberIn(Field(record, 5, 2), 1, 12);
  if (!month || !IsRealMonthDay(*month, day)) return std::nullopt;
  const int age = shown_year - born;
  // No label in the years before the person was born: "(-2歳)" would only puzzle.
  if (age < 0) return std::nullopt;
  SpecialStamp stamp{*month, day, {}};
  // A birthday on 29 February is kept on 28 February in a common year, the last day of the
  // month the person is still the age before; a file for 29 February would stand in no row.
  if (stamp.month == 2 && stamp.day == 29 && !calendar::GregorianLeapYear(shown_year)) {
    stamp.day = 28;
  }
  stamp.label = CutToWholeCharacters(Field(record, 11, std::string_view::npos), kLabelTextBytes) +
                std::string(suffix) + "(" + std::to_string(age) + AgeUnit();
  return stamp;
}

std::optional<SpecialStamp> SpecialDayStamp(std::string_view record, int shown_year) {
  // 05/03/subject: the month in characters 1-2, the day in 4-5, the subject from 7 on.
  const int day = RequiredNumber(Field(record, 3, 2), record);
  std::optional<int> month = NumberIn(Field(record, 0, 2), 1, 12);
  if (!month || !IsRealMonthDay(*month, day)) return std::nullopt;
  if (*month == 2 && day == 29 && !calendar::GregorianLeapYear(shown_year)) return std::nullopt;
  return SpecialStamp{
      *month, day, CutToWholeCharacters(Field(record, 6, std::string_view::npos), kLabelTextBytes)};
}

std::vector<std::string> SpecialDayList::Sorted() const {
  std::vector<std::string> sorted = records_;
  SortToDo(sorted);
  return sorted;
}

bool SpecialDayList::Load(const fs::path& path) {
  TLightStrings lines;
  if (!lines.TryLoadFromFile(path)) return false;
  records_.clear();
  for (std::int32_t i = 0; i < lines.Count(); ++i) {
    if (!lines[i].empty()) records_.push_back(lines[i]);
  }
  return true;
}

void SpecialDayList::Save(const fs::path& path) const {
  TLightStrings lines;
  for (const std::string& record : records_) lines.Add(record);
  lines.SaveToFile(path);
}

SpecialRefusal SpecialDayList::Check(bool half_month, std::string_view month, std::string_view day,
                                     std::string_view text, std::string_view record) const {
  if (half_month) return SpecialRefusal::kHalfMonth;
  if (month.empty() || day.empty() || text.empty()) return SpecialRefusal::kMissingField;
  const std::optional<std::int32_t> m = platform::ParseInteger(month);
  const std::optional<std::int32_t> d = platform::ParseInteger(day);
  if (!m || !d || !IsRealMonthDay(*m, *d)) return SpecialRefusal::kImpossibleDate;
  if (std::any_of(records_.begin(), records_.end(), [&](const std::string& listed) {
        return cp932::EqualsIgnoreAsciiCase(listed, record);
      })) {
    return SpecialRefusal::kDuplicate;
  }
  return SpecialRefusal::kNone;
}

bool SpecialDayList::DeleteSorted(std::size_t sorted_index) {
  std::vector<std::string> sorted = Sorted();
  if (sorted_index >= sorted.size()) return false;
  sorted.erase(sorted.begin() + static_cast<std::ptrdiff_t>(sorted_index));
  records_ = std::move(sorted);
  return true;
}

int StampSpecialList(const SpecialDayList& list, int shown_year, const fs::path& data_dir,
                     std::string_view suffix) {
  const fs::path folder = data_dir / std::to_string(shown_year);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    fs::create_directory(folder, ec);
    if (!fs::is_directory(folder)) {
      throw EDayWriteError(ec ? ec : std::make_error_code(std::errc::not_a_directory),
                           "年のフォルダを作成できません: " + folder.string());
    }
  }
  int written = 0;
  for (const std::string& record : list.Records()) {
    std::optional<SpecialStamp> stamp = list.Kind() == SpecialListKind::kBirthday
                                            ? BirthdayStamp(record, shown_year, suffix)
                                            : SpecialDayStamp(record, shown_year);
    if (!stamp) continue;
    if (DayStore::StampDay(folder / DayFileName(shown_year, stamp->month, stamp->day),
                           stamp->label)) {
      ++written;
    }
  }
  return written;
}

std::string BirthdaySuffixOf(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kBirthdaySuffixesUtf8))) return {};
  return cp932::FromUtf8(kBirthdaySuffixesUtf8[index]);
}

}  // namespace daydata
