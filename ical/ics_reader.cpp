#include "ical/ics_reader.h"

#include <libical/ical.h>

#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <set>

#include "calendar/calendar_math.h"

namespace ical {
namespace {

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using ComponentPtr = std::unique_ptr<icalcomponent, ComponentDeleter>;

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t more = c < 0x80                ? 0
                  : c >= 0xC2 && c < 0xE0 ? 1
                  : (c & 0xF0) == 0xE0    ? 2
                  : c >= 0xF0 && c < 0xF5 ? 3
                                          : 9;
    if (more == 9 || i + more >= text.size() + (more == 0)) return false;
    for (size_t k = 1; k <= more; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += more + 1;
  }
  return true;
}

// The checks libical does not make: it reads almost anything as some calendar, so a file in
// another encoding, a file of something else and a cut-off download are told apart first.
std::string_view CheckedText(std::string_view text) {
  if (text.size() > kMaxIcsBytes) {
    throw IcsError("ファイルが大きすぎます（読み込めるのは 64 MB までです）。");
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (text.find('\0') != std::string_view::npos) {
    throw IcsError(
        "UTF-8 ではない文字コード（UTF-16 など）のファイルです。"
        "UTF-8 の iCalendar ファイルを選んでください。");
  }
  size_t start = text.find_first_not_of(" \t\r\n");
  std::string head(text.substr(start == std::string_view::npos ? text.size() : start, 15));
  for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (head != "BEGIN:VCALENDAR") {
    throw IcsError("iCalendar ファイルではありません（BEGIN:VCALENDAR で始まっていません）。");
  }
  // A fold may fall inside a character, so the check is made on the unfolded text.
  std::string unfolded;
  unfolded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && i + 1 < text.size() && (text[i + 1] == ' ' || text[i + 1] == '\t')) {
      if (!unfolded.empty() && unfolded.back() == '\r') unfolded.pop_back();
      ++i;
      continue;
    }
    unfolded += text[i];
  }
  if (!IsUtf8(unfolded)) {
    throw IcsError(
        "UTF-8 ではない文字コードのファイルです。"
        "UTF-8 の iCalendar ファイルを選んでください。");
  }
  size_t end = text.find_last_not_of(" \t\r\n");
  std::string tail(text.substr(end >= 12 ? end - 12 : 0, end >= 12 ? 13 : 0));
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (tail != "END:VCALENDAR") {
    throw IcsError("ファイルが途中で切れています（END:VCALENDAR がありません）。");
  }
  return text;
}

int DateKey(const icaltimetype& t) {
  return t.year * 10000 + t.month * 100 + t.day;
}

DayDate DateOf(const icaltimetype& t) {
  return {t.year, t.month, t.day};
}

std::string OneLine(const char* text) {
  std::string line = text ? text : "";
  for (char& c : line) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
  }
  size_t end = line.find_last_not_of(' ');
  line.erase(end == std::string::npos ? 0 : end + 1);
  return line;
}

class Reader {
 public:
  Reader(const ReadOptions& options, IcsContent& content) : options_(options), out_(content) {
    if (!options.zone.empty()) {
      zone_ = icaltimezone_get_builtin_timezone(options.zone.c_str());
      if (!zone_) throw IcsError("タイムゾーンが分かりません: " + options.zone);
    }
  }

  void Read(icalcomponent* root) {
    std::vector<icalcomponent*> calendars;
    if (icalcomponent_isa(root) == ICAL_VCALENDAR_COMPONENT) {
      calendars.push_back(root);
    } else {
      for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT); c;
           c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT)) {
        calendars.push_back(c);
      }
    }
    if (calendars.empty())
      throw IcsError("iCalendar ファイルではありません（カレンダーがありません）。");
    std::vector<std::pair<icalcomponent*, icalcomponent*>> events, todos;
    for (icalcomponent* calendar : calendars) {
      for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT); c;
           c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
        icalcomponent_kind kind = icalcomponent_isa(c);
        if (kind == ICAL_VEVENT_COMPONENT) events.emplace_back(calendar, c);
        if (kind == ICAL_VTODO_COMPONENT) todos.emplace_back(calendar, c);
      }
    }
    // Instances that an event of their own replaces (RECURRENCE-ID) are left out of the series.
    for (auto [calendar, event] : events) {
      icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
      const char* uid = icalcomponent_get_uid(event);
      if (id && uid) Exclude(replaced_[uid], calendar, id, icalproperty_get_recurrenceid(id));
    }
    size_t done = 0, total = events.size() + todos.size();
    for (auto [calendar, event] : events) {
      Progress(done++, total);
      ReadEvent(calendar, event);
    }
    for (auto [calendar, todo] : todos) {
      Progress(done++, total);
      ReadTodo(todo);
    }
    Progress(total, total);
  }

 private:
  struct Exclusions {
    std::set<int> dates;
    std::set<long long> times;
    bool Has(const icaltimetype& t) const {
      if (dates.count(DateKey(t))) return true;
      return !t.is_date &&
             times.count(static_cast<long long>(icaltime_as_timet_with_zone(t, t.zone)));
    }
  };

  void Progress(size_t done, size_t total) {
    if ((done % 256 == 0 || done == total) && options_.progress &&
        !options_.progress(done, total)) {
      throw IcsError("中断しました。");
    }
  }

  // A time property's value with its TZID looked up in the file's own VTIMEZONEs, then in the
  // system's zone data; a TZID found in neither leaves the time floating.
  static icaltimetype Zoned(icalcomponent* calendar, icalproperty* property, icaltimetype time) {
    if (time.is_date || icaltime_is_utc(time)) return time;
    icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
    if (!tzid) return time;
    const char* name = icalparameter_get_tzid(tzid);
    icaltimezone* zone = icalcomponent_get_timezone(calendar, name);
    if (!zone) zone = icaltimezone_get_builtin_timezone(name);
    if (zone) time = icaltime_set_timezone(&time, zone);
    return time;
  }

  static void Exclude(Exclusions& into, icalcomponent* calendar, icalproperty* property,
                      icaltimetype time) {
    time = Zoned(calendar, property, time);
    if (time.is_date) {
      into.dates.insert(DateKey(time));
    } else {
      into.times.insert(static_cast<long long>(icaltime_as_timet_with_zone(time, time.zone)));
    }
  }

  // The wall time in the user's zone. Dates and floating times are taken as they stand.
  icaltimetype Local(icaltimetype t) const {
    if (t.is_date || !t.zone) return t;
    time_t when = icaltime_as_timet_with_zone(t, t.zone);
    if (zone_) return icaltime_from_timet_with_zone(when, 0, zone_);
    std::tm tm{};
    localtime_r(&when, &tm);
    icaltimetype local = icaltime_null_time();
    local.year = tm.tm_year + 1900;
    local.month = tm.tm_mon + 1;
    local.day = tm.tm_mday;
    local.hour = tm.tm_hour;
    local.minute = tm.tm_min;
    local.second = tm.tm_sec;
    return local;
  }

  void AddLine(const DayDate& date, std::string line) {
    if (out_.lines.size() >= kMaxImportLines) {
      throw IcsError("予定が多すぎます（一度に読み込めるのは " + std::to_string(kMaxImportLines) +
                     " 行までです）。期間を狭めてください。");
    }
    out_.lines.push_back({date, std::move(line)});
  }

  // One instance, from `start` for `length`, as a line on each day it covers.
  void AddInstance(icaltimetype start, const icaldurationtype& length, const std::string& summary) {
    icaltimetype end = icaltime_add(start, length);
    start = Local(start);
    end = Local(end);
    if (start.is_date) {
      DayDate last = DateOf(end);
      int days = 0;
      for (icaltimetype d = start; days == 0 || DateOf(d) < last;
           d = icaltime_add(d, icaldurationtype_from_int(86400))) {
        AddLine(DateOf(d), summary);
        if (++days > 366) break;  // a span past a year is a mistake in the file, not a plan
      }
      return;
    }
    char clock[8];
    std::snprintf(clock, sizeof clock, "%02d:%02d", start.hour, start.minute);
    AddLine(DateOf(start), std::string(clock) + " " + summary);
    // An end at midnight closes the day before it.
    icaltimetype last = end;
    if (last.hour == 0 && last.minute == 0 && last.second == 0) {
      last = icaltime_add(last, icaldurationtype_from_int(-1));
    }
    icaltimetype day = start;
    for (int days = 0; days < 366; ++days) {
      day = icaltime_add(day, icaldurationtype_from_int(86400));
      if (DateOf(day) > DateOf(last)) break;
      AddLine(DateOf(day), summary);
    }
  }

  void ReadEvent(icalcomponent* calendar, icalcomponent* event) {
    ++out_.events;
    std::string summary = OneLine(icalcomponent_get_summary(event));
    if (summary.empty()) summary = "(件名なし)";
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
      out_.skipped.push_back("取り消された予定: " + summary);
      return;
    }
    icalproperty* start_property = icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
    if (!start_property) {
      out_.skipped.push_back("日時のない予定: " + summary);
      return;
    }
    icaltimetype start = Zoned(calendar, start_property, icalproperty_get_dtstart(start_property));
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start) || start.year < 1 ||
        start.month < 1 || start.day < 1) {
      out_.skipped.push_back("日時の読めない予定: " + summary);
      return;
    }
    if (ReadOwnDay(event, start)) return;
    icaldurationtype length = icaldurationtype_null_duration();
    if (icalproperty* end = icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY)) {
      icaltimetype end_time = Zoned(calendar, end, icalproperty_get_dtend(end));
      if (!icaltime_is_null_time(end_time) && icaltime_compare(end_time, start) > 0) {
        length = icaltime_subtract(end_time, start);
      }
    } else if (icalproperty* d = icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY)) {
      length = icalproperty_get_duration(d);
      if (icaldurationtype_as_int(length) < 0) length = icaldurationtype_null_duration();
    }
    if (start.is_date && icaldurationtype_as_int(length) == 0) length.days = 1;

    icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
    icalproperty* rdate = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
    bool overrides = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
    if (overrides || (!rrule && !rdate)) {
      AddInstance(start, length, summary);
      return;
    }
    ++out_.recurring;
    Exclusions excluded;
    if (const char* uid = icalcomponent_get_uid(event)) {
      auto it = replaced_.find(uid);
      if (it != replaced_.end()) excluded = it->second;
    }
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
      Exclude(excluded, calendar, p, icalproperty_get_exdate(p));
    }
    DayDate from = options_.from.value_or(DateOf(Local(start)));
    DayDate to = options_.to.value_or(DayDate{from.year + 1, 12, 31});
    auto in_range = [&](const icaltimetype& t) {
      DayDate local = DateOf(Local(t));
      return local >= from && local <= to;
    };
    std::set<long long> seen;
    auto add = [&](const icaltimetype& t) {
      long long key =
          t.is_date ? DateKey(t) : static_cast<long long>(icaltime_as_timet_with_zone(t, t.zone));
      if (excluded.Has(t) || !in_range(t) || !seen.insert(key).second) return;
      AddInstance(t, length, summary);
    };
    add(start);
    for (icalproperty* p = rdate; p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
      icaltimetype t = Zoned(calendar, p, icalproperty_get_rdate(p).time);
      if (!icaltime_is_null_time(t)) add(t);
    }
    for (icalproperty* p = rrule; p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
      if (!ExpandRule(icalproperty_get_rrule(p), start, to, add)) {
        out_.skipped.push_back("繰り返しが細かすぎるか多すぎる予定: " + summary);
        return;
      }
    }
  }

  // Steps the rule's instances up to `to`; false when the rule has more than the budget.
  template <typename Add>
  bool ExpandRule(icalrecurrencetype rule, icaltimetype start, const DayDate& to, Add& add) {
    if (rule.freq == ICAL_NO_RECURRENCE) return true;
    // libical looks for the next instance one step of the rule at a time, inside one call: a
    // rule of minutes or seconds whose days can never come (30 February) would run for hours,
    // and an event every minute is no line for a day anyway. Hours are stepped only when no
    // day-of-month, day-of-year or week filter can push the next instance years away.
    if (rule.freq == ICAL_SECONDLY_RECURRENCE || rule.freq == ICAL_MINUTELY_RECURRENCE ||
        (rule.freq == ICAL_HOURLY_RECURRENCE &&
         (rule.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX ||
          rule.by_year_day[0] != ICAL_RECURRENCE_ARRAY_MAX ||
          rule.by_week_no[0] != ICAL_RECURRENCE_ARRAY_MAX))) {
      return false;
    }
    // Owned, so that a run over the line budget (an exception from add) frees it too.
    std::unique_ptr<icalrecur_iterator, void (*)(icalrecur_iterator*)> it(
        icalrecur_iterator_new(rule, start), icalrecur_iterator_free);
    if (!it) return true;
    // A rule without COUNT may start at the range; counting ones must be walked from the start.
    if (options_.from && rule.count == 0) {
      icaltimetype from = start;
      from.year = options_.from->year;
      from.month = options_.from->month;
      from.day = options_.from->day;
      if (icaltime_compare(from, start) > 0) icalrecur_iterator_set_start(it.get(), from);
    }
    bool within_budget = false;
    for (long step = 0; step < kMaxRecurrenceSteps; ++step) {
      icaltimetype t = icalrecur_iterator_next(it.get());
      if (icaltime_is_null_time(t)) {
        within_budget = true;
        break;
      }
      t.zone = start.zone;
      if (DateOf(Local(t)) > to) {
        within_budget = true;
        break;
      }
      add(t);
    }
    return within_budget;
  }

  // A day that Mirune exported: kept whole, on the date it was exported for.
  bool ReadOwnDay(icalcomponent* event, const icaltimetype& start) {
    EventFields fields;
    bool own = false;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY)) {
      std::string_view name = icalproperty_get_x_name(p) ? icalproperty_get_x_name(p) : "";
      const char* value = icalproperty_get_x(p);
      if (name == kExactBytesProperty && value) {
        fields.exact_base64 = value;
        own = true;
      } else if (name == kColourCodeProperty && value && value[0] >= '0' && value[0] <= '9') {
        fields.colour_code = value[0] - '0';
      }
    }
    const char* uid = icalcomponent_get_uid(event);
    own = own || (uid && IsDayUid(uid));
    if (!own || !start.is_date) return false;
    fields.summary = icalcomponent_get_summary(event) ? icalcomponent_get_summary(event) : "";
    fields.description =
        icalcomponent_get_description(event) ? icalcomponent_get_description(event) : "";
    if (icalproperty* colour = icalcomponent_get_first_property(event, ICAL_COLOR_PROPERTY)) {
      fields.colour_name = icalproperty_get_color(colour) ? icalproperty_get_color(colour) : "";
    }
    out_.days.emplace_back(DateOf(start), DayFromEvent(fields));
    return true;
  }

  void ReadTodo(icalcomponent* todo) {
    std::string summary = OneLine(icalcomponent_get_summary(todo));
    if (summary.empty()) return;
    if (icalcomponent_get_status(todo) == ICAL_STATUS_COMPLETED ||
        icalcomponent_get_first_property(todo, ICAL_COMPLETED_PROPERTY)) {
      out_.skipped.push_back("完了した ToDo: " + summary);
      return;
    }
    icaltimetype due = icaltime_null_time();
    if (icalproperty* p = icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY)) {
      due = Local(icalproperty_get_due(p));
    }
    if (icaltime_is_null_time(due) || !icaltime_is_valid_time(due)) {
      out_.todos.push_back(summary);
      return;
    }
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%02d/%02d", due.month, due.day);
    out_.todos.push_back(std::string(prefix) + "：" + summary);
  }

  const ReadOptions& options_;
  IcsContent& out_;
  icaltimezone* zone_ = nullptr;
  std::map<std::string, Exclusions> replaced_;
};

}  // namespace

IcsContent ReadIcs(std::string_view text, const ReadOptions& options) {
  std::string checked(CheckedText(text));
  icalerror_set_errors_are_fatal(0);
  ComponentPtr root(icalparser_parse_string(checked.c_str()));
  if (!root) throw IcsError("iCalendar ファイルとして読めません。");
  IcsContent content;
  Reader(options, content).Read(root.get());
  return content;
}

}  // namespace ical
