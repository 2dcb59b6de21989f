#include "sync/sync_engine.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <system_error>

#include "daydata/day_files.h"
#include "daydata/day_store.h"
#include "ical/day_event.h"
#include "ical/ics_reader.h"
#include "ical/ics_writer.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/trash.h"

namespace calsync {
namespace {

namespace fs = std::filesystem;
using ical::DayDate;

// How many resources one fetch asks for, and how many changes go by between two saves of the
// state: a sync stopped or broken midway then repeats little.
constexpr std::size_t kFetchBatch = 100;
constexpr int kSaveEvery = 200;

DateKey KeyOf(const DayDate& date) {
  return date.year * 10000 + date.month * 100 + date.day;
}
DayDate DateOfKey(DateKey key) {
  return {key / 10000, key / 100 % 100, key % 100};
}

std::string Label(DateKey key) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", key / 10000, key / 100 % 100, key % 100);
  return text;
}

// 〓, the mark Japanese text has long used for a character that cannot be shown.
constexpr char16_t kReplacement = u'\u3013';

// UTF-8 text with each character code page 932 cannot hold replaced by 〓.
std::string Visible(const std::string& utf8, bool& replaced) {
  std::u32string missing = cp932::UnrepresentableUtf8(utf8);
  if (missing.empty()) return utf8;
  replaced = true;
  std::u16string text = cp932::Utf8ToUtf16(utf8), out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    std::size_t units = 1;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      units = 2;
    }
    if (missing.find(c) != std::u32string::npos) {
      out += kReplacement;
    } else {
      out.append(text, i, units);
    }
    i += units - 1;
  }
  return cp932::Utf16ToUtf8(out);
}

// The bytes of a day as the server's event gives them.
std::string DayBytes(const ical::DayOfEvent& day, bool& replaced) {
  if (day.exact) return day.bytes;
  std::string bytes = day.colour >= 1 && day.colour <= 4 ? std::to_string(day.colour) + "\r\n" : "";
  for (const std::string& line : day.lines)
    bytes += cp932::FromUtf8(Visible(line, replaced)) + "\r\n";
  return bytes;
}

// The text lines of a day file, its colour line left out, split as the entry dialog splits them.
std::vector<std::string> TextLines(std::string_view bytes) {
  daydata::TLightStrings split =
      daydata::DayStore::SplitEditorText(daydata::DayStore::ParseDay(bytes).text);
  std::vector<std::string> lines;
  for (int i = 0; i < split.Count(); ++i) lines.push_back(split.Get(i));
  return lines;
}

bool Contains(const std::vector<std::string>& all, const std::vector<std::string>& part) {
  std::multiset<std::string> have(all.begin(), all.end());
  for (const std::string& line : part) {
    auto it = have.find(line);
    if (it == have.end()) return false;
    have.erase(it);
  }
  return true;
}

void EndLine(std::string& bytes) {
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
}

struct ServerDay {
  std::string href, etag, bytes;
  bool replaced = false;  // characters were replaced by 〓
};

struct ForeignEvent {
  std::string href, etag;
  std::map<DateKey, std::vector<std::string>> lines;  // code page 932
  bool recurring = false, replaced = false;
};

struct LocalDay {
  fs::path path;
  std::string bytes;  // read only when it may have changed
  bool read = false, changed = false;
};

class Engine {
 public:
  Engine(CalendarServer& server, const SyncOptions& options)
      : server_(server), options_(options), store_(options.data_dir, options.data_dir) {
    state_ = SyncState::Load(options.state_file);
  }

  SyncReport Run() {
    try {
      Steps();
    } catch (...) {
      // What was done stays recorded, so running the sync again does not repeat or undo it.
      try {
        state_.Save(options_.state_file);
      } catch (const SyncError&) {
      }
      throw;
    }
    return report_;
  }

 private:
  void Steps() {
    Progress("サーバーの変更を調べています", 0, 1);
    ServerChanges changes = server_.Changes(state_.token);
    ReadServerChanges(changes);
    ScanHere();
    std::set<DateKey> dates;
    for (const auto& [key, day] : here_)
      if (day.changed) dates.insert(key);
    dates.insert(deleted_here_.begin(), deleted_here_.end());
    for (const auto& [key, day] : server_days_) dates.insert(key);
    dates.insert(deleted_there_.begin(), deleted_there_.end());
    std::size_t done = 0, total = dates.size() + foreign_.size();
    for (DateKey key : dates) {
      Progress("同期しています", done++, total);
      Decide(key);
    }
    for (const ForeignEvent& event : foreign_) {
      Progress("同期しています", done++, total);
      TakeIn(event);
    }
    Progress("同期しています", total, total);
    state_.token = changes.token;
    state_.Save(options_.state_file);
  }

  void Progress(const std::string& stage, std::size_t done, std::size_t total) {
    if (options_.progress && !options_.progress(stage, done, total)) {
      throw SyncError(SyncError::Kind::kStopped,
                      "同期を中断しました。ここまでの変更は保たれています。");
    }
  }

  void Changed() {
    if (++changes_ % kSaveEvery == 0) state_.Save(options_.state_file);
  }

  // --- the server's side ---

  void ReadServerChanges(const ServerChanges& changes) {
    std::map<std::string, DateKey> day_hrefs;
    for (const auto& [key, record] : state_.days)
      if (!record.href.empty()) day_hrefs[record.href] = key;
    std::vector<std::string> fetch;
    std::set<std::string> listed;
    for (const ServerResource& resource : changes.changed) {
      listed.insert(resource.href);
      std::string known;
      if (auto it = day_hrefs.find(resource.href); it != day_hrefs.end()) {
        known = state_.days[it->second].etag;
      } else if (auto f = state_.foreign.find(resource.href); f != state_.foreign.end()) {
        known = f->second;
      }
      // Our own writes come back in the list with the ETag we recorded.
      if (resource.etag.empty() || resource.etag != known) fetch.push_back(resource.href);
    }
    std::vector<std::string> removed = changes.removed;
    if (changes.full) {
      for (const auto& [href, key] : day_hrefs)
        if (!listed.count(href)) removed.push_back(href);
      for (const auto& [href, etag] : state_.foreign)
        if (!listed.count(href)) removed.push_back(href);
    }
    for (const std::string& href : removed) {
      if (auto it = day_hrefs.find(href); it != day_hrefs.end()) {
        deleted_there_.insert(it->second);
      } else {
        state_.foreign.erase(href);
      }
    }
    for (std::size_t at = 0; at < fetch.size(); at += kFetchBatch) {
      Progress("サーバーから受け取っています", at, fetch.size());
      std::vector<std::string> batch(
          fetch.begin() + static_cast<long>(at),
          fetch.begin() + static_cast<long>(std::min(fetch.size(), at + kFetchBatch)));
      for (FetchedResource& resource : server_.Fetch(batch)) Classify(resource);
    }
  }

  ical::IcsContent Read(const FetchedResource& resource) {
    ical::ReadOptions read;
    std::tm tm{};
    localtime_r(&options_.now, &tm);
    // A series is taken in through the end of next year, as an import takes it.
    read.to = DayDate{tm.tm_year + 1900 + 1, 12, 31};
    return ical::ReadIcs(resource.text, read);
  }

  void Classify(const FetchedResource& resource) {
    ical::IcsContent content;
    try {
      content = Read(resource);
    } catch (const ical::IcsError& error) {
      report_.warnings.push_back("サーバーの予定を読めないため飛ばしました: " + resource.href +
                                 " (" + error.what() + ")");
      state_.foreign[resource.href] = resource.etag;
      return;
    }
    if (content.days.size() == 1 && content.lines.empty()) {
      const auto& [date, day] = content.days.front();
      if (resource.href == server_.HrefFor(SyncResourceName(date.year, date.month, date.day))) {
        ServerDay server_day{resource.href, resource.etag, "", false};
        server_day.bytes = DayBytes(day, server_day.replaced);
        server_days_[KeyOf(date)] = std::move(server_day);
        return;
      }
    }
    // Another client's events, or a day exported into the calendar by hand: lines of days.
    ForeignEvent event{resource.href, resource.etag, {}, content.recurring > 0, false};
    for (const auto& [date, day] : content.days) {
      bool replaced = false;
      for (const std::string& line : TextLines(DayBytes(day, replaced)))
        event.lines[KeyOf(date)].push_back(line);
      event.replaced |= replaced;
    }
    for (const ical::DayLine& line : content.lines) {
      event.lines[KeyOf(line.date)].push_back(cp932::FromUtf8(Visible(line.line, event.replaced)));
    }
    foreign_.push_back(std::move(event));
  }

  ServerDay Parsed(const FetchedResource& resource) {
    ical::IcsContent content;
    try {
      content = Read(resource);
    } catch (const ical::IcsError& error) {
      throw SyncError(
          SyncError::Kind::kProtocol,
          "サーバーの予定を読めません: " + resource.href + " (" + error.what() +
              ")\nサーバー側でこの予定を直すか削除してから、もう一度同期してください。");
    }
    ServerDay day{resource.href, resource.etag, "", false};
    if (!content.days.empty()) day.bytes = DayBytes(content.days.front().second, day.replaced);
    return day;
  }

  // --- this machine's side ---

  void ScanHere() {
    std::vector<daydata::DayFile> files = daydata::ListDayFiles(options_.data_dir);
    std::size_t done = 0;
    for (const daydata::DayFile& file : files) {
      if (done % 256 == 0) Progress("予定を調べています", done, files.size());
      ++done;
      DateKey key = KeyOf({file.year, file.month, file.day});
      LocalDay& day = here_[key];
      day.path = file.path;
      auto record = state_.days.find(key);
      std::error_code error;
      std::int64_t size = static_cast<std::int64_t>(fs::file_size(file.path, error));
      std::int64_t mtime = error ? -1 : MTime(file.path);
      if (record != state_.days.end() && record->second.local && !error &&
          record->second.size == size && record->second.mtime_ns == mtime) {
        continue;
      }
      if (!platform::ReadFile(file.path, day.bytes)) {
        unreadable_.insert(key);
        report_.warnings.push_back("予定ファイルを読めないため同期しませんでした: " +
                                   file.path.string());
        continue;
      }
      day.read = true;
      day.changed = record == state_.days.end() || !record->second.local ||
                    record->second.hash != HashBytes(day.bytes);
      if (!day.changed) {
        record->second.size = size;
        record->second.mtime_ns = mtime;
      }
    }
    for (const auto& [key, record] : state_.days)
      if (record.local && !here_.count(key)) deleted_here_.insert(key);
  }

  static std::int64_t MTime(const fs::path& path) {
    std::error_code error;
    auto time = fs::last_write_time(path, error);
    if (error) return -1;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  }

  fs::path PathOf(DateKey key) {
    if (auto it = here_.find(key); it != here_.end()) return it->second.path;
    DayDate date = DateOfKey(key);
    return store_.DayFilePath(date.year, date.month, date.day);
  }

  // The day's bytes as they stand here now ("" when it has no file).
  std::string BytesHere(DateKey key) {
    auto it = here_.find(key);
    if (it == here_.end()) return "";
    LocalDay& day = it->second;
    if (!day.read) {
      if (!platform::ReadFile(day.path, day.bytes)) {
        throw SyncError(SyncError::Kind::kLocal, "予定ファイルを読めません: " + day.path.string());
      }
      day.read = true;
    }
    return day.bytes;
  }

  void WriteHere(DateKey key, const std::string& bytes) {
    fs::path path = PathOf(key);
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (!platform::ReplaceFile(path, bytes, error)) {
      throw SyncError(SyncError::Kind::kLocal,
                      "予定ファイルに書き込めません: " + path.string() + " (" + error.message() +
                          ")\n書き込めるようにしてから、もう一度同期してください。");
    }
    LocalDay& day = here_[key];
    day.path = path;
    day.bytes = bytes;
    day.read = true;
  }

  // Both sides hold `bytes` now.
  void Agree(DateKey key, const std::string& href, const std::string& etag,
             const std::string& bytes, bool held = false) {
    DayRecord& record = state_.days[key];
    record.href = href;
    record.etag = etag;
    record.local = true;
    record.hash = HashBytes(bytes);
    fs::path path = PathOf(key);
    std::error_code error;
    record.size = static_cast<std::int64_t>(fs::file_size(path, error));
    record.mtime_ns = error ? -1 : MTime(path);
    record.held = held;
    Changed();
  }

  // --- one day ---

  void Decide(DateKey key) {
    bool changed_here = here_.count(key) && here_[key].changed;
    bool deleted_here = deleted_here_.count(key) > 0;
    auto there = server_days_.find(key);
    if (unreadable_.count(key)) return;
    if (there != server_days_.end()) {
      const ServerDay& server = there->second;
      if (!changed_here) {
        // Changed there only, or deleted here and changed there: the change is kept.
        Receive(key, server);
      } else if (BytesHere(key) == server.bytes) {
        Agree(key, server.href, server.etag, server.bytes);
      } else {
        Merge(key, server);
      }
      return;
    }
    if (deleted_there_.count(key)) {
      if (changed_here) {
        // Deleted there, changed here: kept, and sent as a new event.
        state_.days[key].href.clear();
        state_.days[key].etag.clear();
        Send(key);
      } else if (deleted_here) {
        state_.days.erase(key);
      } else {
        TrashHere(key);
      }
      return;
    }
    if (changed_here) Send(key);
    if (deleted_here) RemoveThere(key);
  }

  void Receive(DateKey key, const ServerDay& server) {
    bool exists = here_.count(key) > 0;
    if (!exists || BytesHere(key) != server.bytes) {
      WriteHere(key, server.bytes);
      ++report_.received;
    }
    if (server.replaced) Hold(key);
    Agree(key, server.href, server.etag, server.bytes, server.replaced);
  }

  void Hold(DateKey key) {
    report_.held.push_back(Label(key));
    report_.warnings.push_back(
        Label(key) +
        ": サーバーの予定にこの PC で扱えない文字があり、〓 に置き換えて書きました。サーバーの"
        "内容を守るため、この日を書き換えるまでは送りません。");
  }

  std::string EventText(DateKey key, const std::string& bytes) {
    DayDate date = DateOfKey(key);
    ical::IcsWriter writer("ミルネ", options_.now);
    writer.AddDay(date, ical::FieldsOfDay(bytes), SyncUid(date.year, date.month, date.day));
    return writer.Text();
  }

  // Sends the day as it stands here. A version made there meanwhile is merged with it.
  void Send(DateKey key) {
    std::string bytes = BytesHere(key);
    DayRecord& record = state_.days[key];
    if (record.held) {
      report_.warnings.push_back(Label(key) +
                                 ": 〓 に置き換えた文字を含んだまま、書き換えた内容を送りました。");
    }
    DayDate date = DateOfKey(key);
    std::string href = record.href.empty()
                           ? server_.HrefFor(SyncResourceName(date.year, date.month, date.day))
                           : record.href;
    std::optional<std::string> etag = server_.Put(href, EventText(key, bytes), record.etag);
    if (!etag) {
      std::vector<FetchedResource> now = server_.Fetch({href});
      if (!now.empty()) {
        ServerDay server = Parsed(now.front());
        if (server.bytes == bytes) {
          Agree(key, server.href, server.etag, bytes);
        } else {
          Merge(key, server);
        }
        return;
      }
      etag = server_.Put(href, EventText(key, bytes), "");
      if (!etag) Busy(key);
    }
    ++report_.sent;
    Agree(key, href, *etag, bytes);
  }

  [[noreturn]] void Busy(DateKey key) {
    throw SyncError(SyncError::Kind::kServer,
                    Label(key) +
                        " の予定が、同期の最中にサーバー側で変更され続けています。"
                        "しばらくしてから、もう一度同期してください。");
  }

  // Both sides changed the day: it keeps both texts, ours first.
  void Merge(DateKey key, const ServerDay& server) {
    std::string mine = BytesHere(key);
    std::vector<std::string> here = TextLines(mine), there = TextLines(server.bytes);
    if (Contains(there, here) && !server.replaced) {
      // Ours added nothing the server's lacks (a merge made before, say): theirs stands.
      Receive(key, server);
      return;
    }
    std::string merged = mine;
    if (!Contains(here, there)) {
      EndLine(merged);
      std::tm tm{};
      localtime_r(&options_.now, &tm);
      char mark[96];
      std::snprintf(mark, sizeof mark, "―― サーバー側の内容 (%04d-%02d-%02d %02d:%02d) ――",
                    tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min);
      merged += cp932::FromUtf8(mark) + "\r\n";
      for (const std::string& line : there) merged += line + "\r\n";
      report_.merged.push_back(Label(key));
    }
    if (merged != mine) WriteHere(key, merged);
    if (server.replaced) {
      Hold(key);
      Agree(key, server.href, server.etag, merged, true);
      return;
    }
    std::optional<std::string> etag = server_.Put(server.href, EventText(key, merged), server.etag);
    if (!etag) Busy(key);
    ++report_.sent;
    Agree(key, server.href, *etag, merged);
  }

  void TrashHere(DateKey key) {
    fs::path path = PathOf(key);
    if (platform::MoveToTrash(path, options_.data_dir) == platform::TrashResult::kTrashed) {
      ++report_.trashed;
      state_.days.erase(key);
      Changed();
      return;
    }
    // Not deleted for good: the day stays here, no longer on the server.
    DayRecord& record = state_.days[key];
    record.href.clear();
    record.etag.clear();
    report_.warnings.push_back(Label(key) +
                               ": サーバーで削除されましたが、ゴミ箱を使えないためこの PC "
                               "には残しました。");
    Changed();
  }

  void RemoveThere(DateKey key) {
    DayRecord record = state_.days[key];
    if (!record.href.empty() && !server_.Remove(record.href, record.etag)) {
      // Changed there since: deleted here, changed there, so it is kept as changed.
      std::vector<FetchedResource> now = server_.Fetch({record.href});
      if (!now.empty()) {
        Receive(key, Parsed(now.front()));
        return;
      }
    }
    if (!record.href.empty()) ++report_.removed;
    state_.days.erase(key);
    Changed();
  }

  // Another client's event: its lines go into their days, which are then sent. A single
  // event is removed there afterwards, since the days now carry it.
  void TakeIn(const ForeignEvent& event) {
    bool complete = true;
    for (const auto& [key, lines] : event.lines) {
      if (unreadable_.count(key)) {
        complete = false;
        continue;
      }
      std::string bytes = BytesHere(key);
      std::vector<std::string> have = TextLines(bytes);
      std::set<std::string> present(have.begin(), have.end());
      std::string after = bytes;
      for (const std::string& line : lines) {
        if (!present.insert(line).second) continue;
        EndLine(after);
        after += line + "\r\n";
      }
      if (after == bytes) continue;
      WriteHere(key, after);
      DayRecord& record = state_.days[key];
      if (record.held || event.replaced) {
        if (event.replaced && !record.held) Hold(key);
        Agree(key, record.href, record.etag, after, true);
      } else {
        Send(key);
      }
    }
    ++report_.taken_in;
    if (complete && !event.recurring && !event.replaced && server_.Remove(event.href, event.etag)) {
      state_.foreign.erase(event.href);
    } else {
      state_.foreign[event.href] = event.etag;
    }
    Changed();
  }

  CalendarServer& server_;
  const SyncOptions& options_;
  daydata::DayStore store_;
  SyncState state_;
  SyncReport report_;
  int changes_ = 0;
  std::map<DateKey, ServerDay> server_days_;
  std::set<DateKey> deleted_there_;
  std::vector<ForeignEvent> foreign_;
  std::map<DateKey, LocalDay> here_;
  std::set<DateKey> deleted_here_, unreadable_;
};

}  // namespace

std::string SyncUid(int year, int month, int day) {
  return "mirune-" + ical::DateText({year, month, day}) + "@mirune";
}

std::string SyncResourceName(int year, int month, int day) {
  return "mirune-" + ical::DateText({year, month, day}) + ".ics";
}

SyncReport Sync(CalendarServer& server, const SyncOptions& options) {
  return Engine(server, options).Run();
}

std::string ReportText(const SyncReport& report) {
  std::string text;
  if (!report.Changed() && report.merged.empty()) text = "変更はありませんでした。";
  auto count = [&](int n, const char* what) {
    if (n) text += std::string(what) + ": " + std::to_string(n) + " 日\n";
  };
  count(report.sent, "送った予定");
  count(report.received, "受け取った予定");
  count(report.trashed, "ゴミ箱へ移した予定");
  count(report.removed, "サーバーから削除した予定");
  if (report.taken_in) text += "取り込んだ他の予定: " + std::to_string(report.taken_in) + " 件\n";
  if (!report.merged.empty()) {
    text += "\n両方で変更されていたため、両方の内容を残した日:\n";
    for (const std::string& day : report.merged) text += "  " + day + "\n";
  }
  if (!report.warnings.empty()) {
    text += "\n";
    for (const std::string& warning : report.warnings) text += warning + "\n";
  }
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace calsync
