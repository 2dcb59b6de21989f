#include "ical/day_import.h"

#include <algorithm>
#include <map>
#include <set>

#include "daydata/day_store.h"
#include "daydata/todo_list.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace fs = std::filesystem;

namespace ical {
namespace {

// A day being planned: its lines as they will stand, to tell which lines it has already.
struct PlannedDay {
  DayChange change;
  std::set<std::string> lines;
};

class Planner {
 public:
  Planner(const fs::path& data_dir, const fs::path& startup_dir, ImportPlan& plan)
      : store_(data_dir, startup_dir), plan_(plan) {}

  void AddOwnDay(const DayDate& date, const DayOfEvent& day) {
    PlannedDay* planned = Day(date);
    if (!planned) return;
    DayChange& change = planned->change;
    if (change.after.empty()) {
      // An empty day takes the exported day whole.
      if (day.exact) {
        change.after = day.bytes;
        for (std::string& line : TextLines(day.bytes)) {
          planned->lines.insert(std::move(line));
          ++change.added_lines;
        }
        return;
      }
      // Repeated lines are the day's own: it comes back as it was, not merged line by line.
      if (day.colour >= 1 && day.colour <= 4) change.after = std::to_string(day.colour) + "\r\n";
      for (const std::string& line : day.lines) {
        std::string encoded = Encoded(line);
        change.after += encoded + "\r\n";
        planned->lines.insert(std::move(encoded));
        ++change.added_lines;
      }
      return;
    }
    if (day.exact) {
      for (const std::string& line : TextLines(day.bytes)) Append(*planned, line);
    } else {
      for (const std::string& line : day.lines) Append(*planned, Encoded(line));
    }
  }

  void AddLine(const DayLine& line) {
    if (PlannedDay* planned = Day(line.date)) Append(*planned, Encoded(line.line));
  }

  void Finish() {
    for (auto& [date, planned] : days_) {
      if (planned.change.after != planned.change.before) {
        plan_.lines += planned.change.added_lines;
        plan_.days.push_back(std::move(planned.change));
      }
    }
  }

  std::string Encoded(const std::string& utf8) {
    std::u32string missing = cp932::UnrepresentableUtf8(utf8);
    for (char32_t c : missing) {
      if (plan_.unrepresentable.find(c) == std::u32string::npos) plan_.unrepresentable += c;
    }
    return cp932::FromUtf8(utf8);
  }

 private:
  // The text lines of a day file (its colour line left out).
  static std::vector<std::string> TextLines(std::string_view bytes) {
    daydata::TLightStrings split =
        daydata::DayStore::SplitEditorText(daydata::DayStore::ParseDay(bytes).text);
    std::vector<std::string> lines;
    for (int i = 0; i < split.Count(); ++i) lines.push_back(split.Get(i));
    return lines;
  }

  PlannedDay* Day(const DayDate& date) {
    auto it = days_.find(date);
    if (it != days_.end()) return &it->second;
    if (unreadable_.count(date)) return nullptr;
    PlannedDay planned;
    DayChange& change = planned.change;
    change.date = date;
    change.path = store_.DayFilePath(date.year, date.month, date.day);
    std::error_code error;
    change.existed = fs::exists(change.path, error);
    if (change.existed && !platform::ReadFile(change.path, change.before)) {
      // Whatever is there stays as it is: adding to a day that cannot be read would replace it.
      unreadable_.insert(date);
      plan_.unreadable.push_back(change.path.string());
      return nullptr;
    }
    change.after = change.before;
    for (std::string& line : TextLines(change.after)) planned.lines.insert(std::move(line));
    return &days_.emplace(date, std::move(planned)).first->second;
  }

  static void Append(PlannedDay& planned, const std::string& line) {
    if (!planned.lines.insert(line).second) return;
    std::string& after = planned.change.after;
    if (!after.empty() && after.back() != '\n' && after.back() != '\r') after += "\r\n";
    after += line;
    after += "\r\n";
    ++planned.change.added_lines;
  }

  daydata::DayStore store_;
  ImportPlan& plan_;
  std::map<DayDate, PlannedDay> days_;
  std::set<DayDate> unreadable_;
};

}  // namespace

ImportPlan PlanImport(const IcsContent& content, const fs::path& data_dir,
                      const fs::path& startup_dir) {
  ImportPlan plan;
  plan.events = content.events;
  plan.skipped = content.skipped;
  Planner planner(data_dir, startup_dir, plan);
  for (const auto& [date, day] : content.days) planner.AddOwnDay(date, day);
  for (const DayLine& line : content.lines) planner.AddLine(line);
  planner.Finish();

  std::optional<std::vector<std::string>> todo =
      daydata::ReadToDo(daydata::ToDoFilePath(startup_dir));
  std::set<std::string> have;
  if (todo) have.insert(todo->begin(), todo->end());
  for (const std::string& entry : content.todos) {
    std::string encoded = planner.Encoded(entry);
    if (have.insert(encoded).second) plan.todos.push_back(encoded);
  }
  return plan;
}

std::string ImportSummary(const ImportPlan& plan) {
  std::string text;
  if (plan.days.empty() && plan.todos.empty()) {
    text = "追加する内容はありません（" + std::to_string(plan.events) +
           " 件の予定はすべて取り込み済みです）。";
  } else {
    text = std::to_string(plan.days.size()) + " 日に " + std::to_string(plan.lines) +
           " 行を追加します";
    int fresh = static_cast<int>(std::count_if(
        plan.days.begin(), plan.days.end(), [](const DayChange& d) { return d.before.empty(); }));
    if (fresh > 0) text += "（うち新しい日 " + std::to_string(fresh) + " 日）";
    if (!plan.todos.empty())
      text += "。ToDo に " + std::to_string(plan.todos.size()) + " 件を追加します";
    text += "。";
  }
  if (!plan.skipped.empty()) {
    text += "\n読み込まない予定 " + std::to_string(plan.skipped.size()) + " 件:";
    for (size_t i = 0; i < plan.skipped.size() && i < 5; ++i) text += "\n  " + plan.skipped[i];
    if (plan.skipped.size() > 5)
      text += "\n  ほか " + std::to_string(plan.skipped.size() - 5) + " 件";
  }
  if (!plan.unreadable.empty()) {
    text += "\n読めないため変えない日付のファイル " + std::to_string(plan.unreadable.size()) +
            " 件: " + plan.unreadable.front();
  }
  return text;
}

ImportResult ApplyImport(const ImportPlan& plan, const fs::path& startup_dir,
                         const std::function<bool(std::size_t, std::size_t)>& progress) {
  ImportResult result;
  std::string now;
  fs::path made;  // the last year folder made sure of
  for (std::size_t i = 0; i < plan.days.size(); ++i) {
    if (i % 64 == 0 && progress && !progress(i, plan.days.size())) {
      result.stopped = true;
      if (i > 0) platform::SyncFileSystem(plan.days.front().path.parent_path());
      return result;
    }
    const DayChange& change = plan.days[i];
    std::error_code error;
    bool there = fs::exists(change.path, error);
    if (there != change.existed ||
        (there && (!platform::ReadFile(change.path, now) || now != change.before))) {
      result.failures.push_back(change.path.string() +
                                "（読み込みの後で変わったため書きませんでした）");
      continue;
    }
    if (change.path.parent_path() != made) {
      fs::create_directories(change.path.parent_path(), error);
      made = change.path.parent_path();
    }
    if (!platform::ReplaceFile(change.path, change.after, error, platform::Durability::kBatch)) {
      result.failures.push_back(daydata::WriteFailureText(change.path, error));
      continue;
    }
    ++result.days_written;
  }
  if (!plan.days.empty()) platform::SyncFileSystem(plan.days.front().path.parent_path());
  if (progress) progress(plan.days.size(), plan.days.size());
  if (!plan.todos.empty()) {
    fs::path path = daydata::ToDoFilePath(startup_dir);
    std::error_code error;
    std::optional<std::vector<std::string>> items = daydata::ReadToDo(path);
    if (!items && fs::exists(path, error)) {
      result.failures.push_back(path.string() + "（読めないため ToDo を追加しませんでした）");
      return result;
    }
    std::vector<std::string> list = items.value_or(std::vector<std::string>{});
    for (const std::string& entry : plan.todos) {
      if (std::find(list.begin(), list.end(), entry) != list.end()) continue;
      daydata::InsertToDo(list, entry);
      ++result.todos_added;
    }
    if (result.todos_added > 0 && !daydata::WriteToDo(path, list)) {
      result.failures.push_back(path.string() + "（ToDo を書き込めませんでした）");
      result.todos_added = 0;
    }
  }
  return result;
}

}  // namespace ical
