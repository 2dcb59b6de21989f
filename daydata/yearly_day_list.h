// The birthday and special-day lists of the start-up folder, "Birthday.dat" and
// "Specialday.dat": one record a line in code page 932, read by position ("1970/03/05/山田",
// "05/03/こどもの日") because a name or subject may itself hold "/". The lists are never looked
// up when the month is drawn; writing a list stamps a label line for each record into the day
// files of one year, after which the label is ordinary text of its day.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace daydata {

enum class SpecialListKind { kBirthday, kSpecialDay };

std::filesystem::path SpecialListPath(const std::filesystem::path& startup_dir,
                                      SpecialListKind kind);

// The month and day fields are two characters: a one-character text gets a leading zero, a
// longer one stands as it is.
std::string TwoCharField(std::string_view text);
std::string BirthdayRecord(int year, std::string_view month, std::string_view day,
                           std::string_view name);
std::string SpecialDayRecord(std::string_view month, std::string_view day,
                             std::string_view subject);

// At most `max_bytes` of code page 932 text, ending after the last whole character: a cut that
// would keep only the lead byte of a double-byte character drops that byte too.
std::string CutToWholeCharacters(std::string_view text, std::size_t max_bytes);
inline constexpr std::size_t kLabelTextBytes = 20;  // 10 full-width or 20 half-width characters

// A record whose year of birth or day is not a number. Writing stops at it; the records before
// it stay written.
class ESpecialRecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What one record puts into the shown year: the label line and the day file it goes into.
struct SpecialStamp {
  int month = 0;
  int day = 0;
  std::string label;
  bool operator==(const SpecialStamp&) const = default;
};

// nullopt for a record that puts nothing into `shown_year`: a month and day that no year has
// (a file for 30 February would stand in no row), 29 February of a common year for a special
// day, and for a birthday a year before the person was born. Throws
// ESpecialRecordError when the year of birth or the day is not a number.
std::optional<SpecialStamp> BirthdayStamp(std::string_view record, int shown_year,
                                          std::string_view suffix);
std::optional<SpecialStamp> SpecialDayStamp(std::string_view record, int shown_year);

// Why an entry is not added, in the order the checks are made.
enum class SpecialRefusal { kNone, kHalfMonth, kMissingField, kImpossibleDate, kDuplicate };

// A month and day that some year has: 29 February counts, 30 February and 31 April do not.
bool IsRealMonthDay(int month, int day);

class SpecialDayList {
 public:
  explicit SpecialDayList(SpecialListKind kind) : kind_(kind) {}

  SpecialListKind Kind() const { return kind_; }
  // In file order: a new record goes to the end.
  const std::vector<std::string>& Records() const { return records_; }
  // The order the list box shows: letters compared without regard to case, so that records of
  // the same layout sort by their date.
  std::vector<std::string> Sorted() const;

  // Reads the file's lines; empty lines are no records. A missing or unreadable file gives
  // false and leaves the list as it was.
  bool Load(const std::filesystem::path& path);
  // Writes every record followed by CR LF, replacing the file. Throws EInOutError.
  void Save(const std::filesystem::path& path) const;
  void Clear() { records_.clear(); }

  // The checks of an add. A record equal to one already listed (letter case aside) is a
  // duplicate, wherever it stands in the list.
  SpecialRefusal Check(bool half_month, std::string_view month, std::string_view day,
                       std::string_view text, std::string_view record) const;
  void Append(std::string record) { records_.push_back(std::move(record)); }
  // Removes the entry at `sorted_index` of Sorted(); the rest keep the sorted order, which is
  // the order the file is written in after a delete. False when there is no such entry.
  bool DeleteSorted(std::size_t sorted_index);

 private:
  SpecialListKind kind_;
  std::vector<std::string> records_;
};

// Stamps every record's label into its day file of `shown_year` in the year folder
// `data_dir`/`shown_year`, made (one level) when it is missing. Returns how many files were
// written; a second run in the same year writes nothing. Throws EDayWriteError when the year
// folder cannot be made or a day file cannot be written, and ESpecialRecordError at a record
// that cannot be read; what was stamped before stays.
int StampSpecialList(const SpecialDayList& list, int shown_year,
                     const std::filesystem::path& data_dir, std::string_view suffix = {});

// The texts of the birthday suffix box; the index is what the settings file keeps.
inline constexpr std::string_view kBirthdaySuffixesUtf8[] = {"の誕生日", "のBirthday"};
// The code page 932 suffix of a stored index; empty for -1 or any other value.
std::string BirthdaySuffixOf(int index);

}  // namespace daydata
