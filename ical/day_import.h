// Taking an iCalendar file's content into the day files: first a plan that says, day by day,
// what each file will hold, so that the user can be told before anything is written; then its
// application, one atomic write per day. Nothing already in a day is ever removed: a day that
// Mirune exported comes back whole where the day has no file, and elsewhere, like every other
// event, only adds the lines the day does not have yet, so importing a file twice adds nothing.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ical/ics_reader.h"

namespace ical {

struct DayChange {
  DayDate date;
  std::filesystem::path path;
  bool existed = false;
  std::string before;  // the file's bytes when the plan was made
  std::string after;   // what it will hold
  int added_lines = 0;
};

struct ImportPlan {
  std::vector<DayChange> days;
  std::vector<std::string> todos;  // code page 932 entries to add to the ToDo list
  int lines = 0;                   // lines added over all days
  int events = 0;
  std::vector<std::string> skipped;
  // Characters of the new text that code page 932 cannot hold; they would be written as "?".
  std::u32string unrepresentable;
  std::vector<std::string> unreadable;  // day files that exist but cannot be read: left alone
};

ImportPlan PlanImport(const IcsContent& content, const std::filesystem::path& data_dir,
                      const std::filesystem::path& startup_dir);

// What the plan will do, in Japanese (UTF-8), for the question before the import.
std::string ImportSummary(const ImportPlan& plan);

struct ImportResult {
  int days_written = 0;
  int todos_added = 0;
  std::vector<std::string> failures;  // UTF-8, one per day or list that was not written
  bool stopped = false;
};

// Writes the plan. A day whose file changed since the plan was made is not written (it is
// named in failures), nor is one that cannot be written; the others are. `progress` may stop
// the work between two days.
ImportResult ApplyImport(const ImportPlan& plan, const std::filesystem::path& startup_dir,
                         const std::function<bool(std::size_t, std::size_t)>& progress = {});

}  // namespace ical
