// The sync engine against a calendar server kept in memory: every case ends with both sides
// compared day by day, and a random run of edits on both sides checks that nothing is lost,
// doubled or left different.
#include "sync/sync_engine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>

#include "ical/day_event.h"
#include "ical/ics_reader.h"
#include "ical/ics_writer.h"
#include "platform/cp932.h"
#include "test_support/temp_dir.h"

namespace calsync {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

// A CalDAV collection in memory: ETags count up, and a change log gives the sync tokens.
class MemoryServer : public CalendarServer {
 public:
  ServerChanges Changes(const std::string& token) override {
    Call();
    ServerChanges changes;
    changes.token = std::to_string(log_.size());
    if (token.empty() || std::stoul(token) > log_.size()) {
      changes.full = true;
      for (const auto& [href, item] : items_) changes.changed.push_back({href, item.etag});
      return changes;
    }
    std::set<std::string> seen;
    for (std::size_t i = std::stoul(token); i < log_.size(); ++i) seen.insert(log_[i]);
    for (const std::string& href : seen) {
      if (auto it = items_.find(href); it != items_.end()) {
        changes.changed.push_back({href, it->second.etag});
      } else {
        changes.removed.push_back(href);
      }
    }
    return changes;
  }
  std::vector<FetchedResource> Fetch(const std::vector<std::string>& hrefs) override {
    Call();
    std::vector<FetchedResource> out;
    for (const std::string& href : hrefs) {
      if (auto it = items_.find(href); it != items_.end())
        out.push_back({href, it->second.etag, it->second.text});
    }
    return out;
  }
  std::optional<std::string> Put(const std::string& href, const std::string& text,
                                 const std::string& if_match) override {
    Call();
    auto it = items_.find(href);
    if (if_match.empty() ? it != items_.end() : it == items_.end() || it->second.etag != if_match)
      return std::nullopt;
    return Store(href, text);
  }
  bool Remove(const std::string& href, const std::string& if_match) override {
    Call();
    auto it = items_.find(href);
    if (it == items_.end()) return true;
    if (it->second.etag != if_match) return false;
    items_.erase(it);
    log_.push_back(href);
    return true;
  }
  std::string HrefFor(const std::string& name) const override { return "/cal/" + name; }

  // What another client does.
  std::string Store(const std::string& href, const std::string& text) {
    items_[href] = {"\"" + std::to_string(++etags_) + "\"", text};
    log_.push_back(href);
    return items_[href].etag;
  }
  void Erase(const std::string& href) {
    items_.erase(href);
    log_.push_back(href);
  }
  bool Has(const std::string& href) const { return items_.count(href) > 0; }
  const std::string& Text(const std::string& href) { return items_.at(href).text; }
  std::size_t Size() const { return items_.size(); }
  int calls = 0;
  int fail_at = -1;  // the call that fails, as a server that went away

 private:
  struct Item {
    std::string etag, text;
  };
  void Call() {
    if (calls++ == fail_at) throw SyncError(SyncError::Kind::kNetwork, "接続が切れました");
  }
  std::map<std::string, Item> items_;
  std::vector<std::string> log_;
  int etags_ = 0;
};

std::string DayHref(int date) {
  return "/cal/" + SyncResourceName(date / 10000, date / 100 % 100, date % 100);
}

// An event as a phone leaves it after editing the text: the X- properties it does not know
// are kept, stale.
std::string PhoneEdited(const std::string& old_text, int date, const std::string& text_utf8) {
  ical::IcsContent content = ical::ReadIcs(old_text, {});
  ical::DayEventFields fields;
  if (!content.days.empty() && content.days.front().second.exact)
    fields = ical::FieldsOfDay(content.days.front().second.bytes);
  fields.description = text_utf8;
  fields.summary = text_utf8.substr(0, text_utf8.find('\n'));
  ical::IcsWriter writer("phone", 0);
  writer.AddDay({date / 10000, date / 100 % 100, date % 100}, fields,
                SyncUid(date / 10000, date / 100 % 100, date % 100));
  return writer.Text();
}

std::string PhoneEvent(const std::string& uid, int date, const std::string& summary,
                       const std::string& rule = "") {
  std::string d = std::to_string(date);
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
         "\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:" + d + "\r\nSUMMARY:" + summary +
         "\r\n" + (rule.empty() ? "" : "RRULE:" + rule + "\r\n") +
         "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The day's bytes as the server's copy gives them ("" when it has none).
std::string ServerBytes(MemoryServer& server, int date) {
  if (!server.Has(DayHref(date))) return "";
  ical::DayOfEvent day = ical::ReadIcs(server.Text(DayHref(date)), {}).days.at(0).second;
  if (day.exact) return day.bytes;
  std::string bytes = day.colour ? std::to_string(day.colour) + "\r\n" : "";
  for (const std::string& line : day.lines) bytes += cp932::FromUtf8(line) + "\r\n";
  return bytes;
}

class SyncEngineTest : public ::testing::Test {
 public:
  void SetUp() override {
    data_ = dir_.path() / "data";
    fs::create_directories(data_);
    setenv("XDG_DATA_HOME", (dir_.path() / "share").c_str(), 1);
    if (const char* zone = getenv("TZ")) old_zone_ = zone;
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
  }
  void TearDown() override {
    if (old_zone_) {
      setenv("TZ", old_zone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  fs::path DayPath(int date) {
    return data_ / std::to_string(date / 10000) / ("KVR" + std::to_string(date) + ".dat");
  }
  void Write(int date, const std::string& utf8) { WriteBytes(DayPath(date), Sjis(utf8)); }
  std::string Here(int date) { return fs::exists(DayPath(date)) ? ReadBytes(DayPath(date)) : ""; }
  SyncReport Run() {
    SyncOptions options;
    options.data_dir = data_;
    options.state_file = dir_.path() / "state";
    options.now = 1796774400;  // 2026-12-09 00:00 UTC
    return Sync(server_, options);
  }
  // Both sides hold the same bytes for every date given.
  void ExpectAgree(std::initializer_list<int> dates) {
    for (int date : dates) EXPECT_EQ(Here(date), ServerBytes(server_, date)) << date;
  }

  test_support::TempDir dir_;
  std::optional<std::string> old_zone_;
  fs::path data_;
  MemoryServer server_;
};

TEST_F(SyncEngineTest, FirstSyncSendsEveryDayByteForByteAndASecondSendsNothing) {
  Write(20261209, "会議\r\n資料\r\n");
  WriteBytes(DayPath(20261210), "2\r\n" + Sjis("赤い日") + "\n\x81");  // LF and a lone lead byte
  Write(20270101, "元日");
  EXPECT_EQ(Run().sent, 3);
  ExpectAgree({20261209, 20261210, 20270101});
  int calls = server_.calls;
  SyncReport again = Run();
  EXPECT_FALSE(again.Changed());
  EXPECT_EQ(server_.calls - calls, 1);  // one question for the changes, nothing else
}

TEST_F(SyncEngineTest, OneSideChangedTheOtherFollows) {
  struct Case {
    const char* name;
    std::function<void(SyncEngineTest&)> change;
    std::string here, there;  // UTF-8 expected on both sides; "-" for no day
  };
  const int d = 20261209;
  const std::vector<Case> cases = {
      {"edit here", [&](SyncEngineTest& t) { t.Write(d, "会議\r\n昼食\r\n"); }, "会議\r\n昼食\r\n",
       "会議\r\n昼食\r\n"},
      {"edit there (stale exact bytes lose)",
       [&](SyncEngineTest& t) {
         t.server_.Store(DayHref(d), PhoneEdited(t.server_.Text(DayHref(d)), d, "電話で変更"));
       },
       "電話で変更\r\n", "電話で変更\r\n"},
      {"delete here", [&](SyncEngineTest& t) { fs::remove(t.DayPath(d)); }, "-", "-"},
      {"delete there goes to the trash", [&](SyncEngineTest& t) { t.server_.Erase(DayHref(d)); },
       "-", "-"},
      {"delete here, change there: kept",
       [&](SyncEngineTest& t) {
         fs::remove(t.DayPath(d));
         t.server_.Store(DayHref(d), PhoneEdited(t.server_.Text(DayHref(d)), d, "残す"));
       },
       "残す\r\n", "残す\r\n"},
      {"change here, delete there: kept",
       [&](SyncEngineTest& t) {
         t.Write(d, "残す\r\n");
         t.server_.Erase(DayHref(d));
       },
       "残す\r\n", "残す\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(data_);
    fs::remove(dir_.path() / "state");
    server_ = MemoryServer();
    Write(d, "会議\r\n");
    Run();
    c.change(*this);
    Run();
    EXPECT_EQ(Here(d), c.here == "-" ? "" : Sjis(c.here));
    EXPECT_EQ(ServerBytes(server_, d), c.there == "-" ? "" : Sjis(c.there));
    EXPECT_FALSE(Run().Changed());
  }
  // The deleted-there case left the file in the trash, not gone for good.
  EXPECT_FALSE(fs::is_empty(dir_.path() / "share/Trash/files"));
}

TEST_F(SyncEngineTest, BothChangedKeepsBothTextsOursFirstOnBothSides) {
  const int d = 20261209;
  Write(d, "会議\r\n");
  Run();
  Write(d, "会議\r\nここで追加\r\n");
  server_.Store(DayHref(d), PhoneEdited(server_.Text(DayHref(d)), d, "会議\n電話で追加"));
  SyncReport report = Run();
  EXPECT_EQ(report.merged, std::vector<std::string>{"2026-12-09"});
  EXPECT_EQ(Here(d), Sjis("会議\r\nここで追加\r\n―― サーバー側の内容 (2026-12-09 09:00) ――\r\n"
                          "会議\r\n電話で追加\r\n"));
  ExpectAgree({d});
  EXPECT_FALSE(Run().Changed());
}

TEST_F(SyncEngineTest, OtherClientsEventsBecomeLinesOnlySeriesStayThere) {
  Write(20261209, "会議\r\n");
  Run();
  server_.Store("/cal/dentist.ics", PhoneEvent("dentist@phone", 20261209, "歯医者"));
  server_.Store("/cal/weekly.ics",
                PhoneEvent("weekly@phone", 20261210, "ゴミ出し", "FREQ=WEEKLY;COUNT=3"));
  SyncReport report = Run();
  EXPECT_EQ(report.taken_in, 2);
  EXPECT_EQ(Here(20261209), Sjis("会議\r\n歯医者\r\n"));
  for (int d : {20261210, 20261217, 20261224}) EXPECT_EQ(Here(d), Sjis("ゴミ出し\r\n")) << d;
  ExpectAgree({20261209, 20261210, 20261217, 20261224});
  EXPECT_FALSE(server_.Has("/cal/dentist.ics"));  // the day carries it now
  EXPECT_TRUE(server_.Has("/cal/weekly.ics"));    // the phone keeps its series
  EXPECT_FALSE(Run().Changed());
  EXPECT_EQ(Here(20261210), Sjis("ゴミ出し\r\n"));  // not taken in twice
}

TEST_F(SyncEngineTest, CharactersCodePage932CannotHoldAreMarkedAndNeverSentBackUnasked) {
  const int d = 20261209;
  Write(d, "会議\r\n");
  Run();
  std::string phone = PhoneEdited(server_.Text(DayHref(d)), d, "𠮷野家で😀");
  server_.Store(DayHref(d), phone);
  SyncReport report = Run();
  EXPECT_EQ(report.held, std::vector<std::string>{"2026-12-09"});
  EXPECT_EQ(Here(d), Sjis("〓野家で〓\r\n"));
  EXPECT_EQ(server_.Text(DayHref(d)), phone);  // the server's copy is untouched
  EXPECT_FALSE(Run().Changed());
  Write(d, "〓野家で〓\r\n夕食\r\n");
  report = Run();
  EXPECT_EQ(report.sent, 1);
  EXPECT_FALSE(report.warnings.empty());
  ExpectAgree({d});
}

TEST_F(SyncEngineTest, ASyncBrokenAtAnyPointIsRunAgainWithNothingLostOrDoubled) {
  for (int fail_at = 1; fail_at < 12; ++fail_at) {
    SCOPED_TRACE(fail_at);
    fs::remove_all(data_);
    fs::remove(dir_.path() / "state");
    server_ = MemoryServer();
    for (int d = 20261201; d <= 20261205; ++d) Write(d, "日" + std::to_string(d) + "\r\n");
    Run();
    Write(20261201, "ここ\r\n");
    Write(20261206, "新しい日\r\n");
    fs::remove(DayPath(20261202));
    server_.Store(DayHref(20261201),
                  PhoneEdited(server_.Text(DayHref(20261201)), 20261201, "電話"));
    server_.Store(DayHref(20261203),
                  PhoneEdited(server_.Text(DayHref(20261203)), 20261203, "電話3"));
    server_.Store("/cal/x.ics", PhoneEvent("x@phone", 20261204, "追加"));
    server_.fail_at = server_.calls + fail_at;
    try {
      Run();
    } catch (const SyncError& error) {
      EXPECT_EQ(error.kind(), SyncError::Kind::kNetwork);
    }
    server_.fail_at = -1;
    Run();
    EXPECT_EQ(Here(20261201),
              Sjis("ここ\r\n―― サーバー側の内容 (2026-12-09 09:00) ――\r\n電話\r\n"));
    EXPECT_EQ(Here(20261202), "");
    EXPECT_EQ(Here(20261203), Sjis("電話3\r\n"));
    EXPECT_EQ(Here(20261204), Sjis("日20261204\r\n追加\r\n"));
    EXPECT_EQ(Here(20261206), Sjis("新しい日\r\n"));
    ExpectAgree({20261201, 20261202, 20261203, 20261204, 20261205, 20261206});
    EXPECT_FALSE(Run().Changed());
  }
}

// Random edits on both sides between syncs. After each sync both sides agree, every line
// written since the last sync on a side that did not delete the day is there, and no line is
// there twice.
TEST_F(SyncEngineTest, RandomEditsOnBothSidesConverge) {
  std::mt19937 random(20261209);
  const std::vector<int> dates = {20261201, 20261202, 20261203, 20261204};
  int serial = 0;
  Run();
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE(round);
    std::map<int, std::vector<std::string>> expected;  // lines each day must hold
    std::set<int> touched;
    for (int edits = 0; edits < 3; ++edits) {
      int d = dates[random() % dates.size()];
      std::string line = "行" + std::to_string(++serial);
      switch (random() % 4) {
        case 0:  // a line added here
          WriteBytes(DayPath(d), Here(d) + Sjis(line) + "\r\n");
          break;
        case 1: {  // a line added on the phone
          std::string old = server_.Has(DayHref(d)) ? server_.Text(DayHref(d)) : "";
          std::string text = cp932::ToUtf8(ServerBytes(server_, d));
          std::string joined;
          for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find("\r\n", at);
            joined += text.substr(at, end - at) + "\n";
            at = end + 2;
          }
          server_.Store(DayHref(d),
                        PhoneEdited(old.empty() ? PhoneEvent("n", d, "x") : old, d, joined + line));
          break;
        }
        case 2:
          fs::remove(DayPath(d));
          expected.erase(d);
          touched.insert(d);
          continue;
        default:
          if (server_.Has(DayHref(d))) server_.Erase(DayHref(d));
          expected.erase(d);
          touched.insert(d);
          continue;
      }
      expected[d].push_back(cp932::FromUtf8(line));
    }
    Run();
    for (int d : dates) {
      std::string here = Here(d);
      EXPECT_EQ(here, ServerBytes(server_, d)) << d;
      for (const std::string& line : expected[d]) {
        std::size_t at = here.find(line + "\r\n");
        EXPECT_NE(at, std::string::npos) << d << " lost " << cp932::ToUtf8(line);
        EXPECT_EQ(here.find(line + "\r\n", at + 1), std::string::npos) << d << " doubled";
      }
    }
  }
  EXPECT_FALSE(Run().Changed());
}

TEST_F(SyncEngineTest, ADamagedStateFileStopsTheSyncInsteadOfMakingEveryDayNew) {
  WriteBytes(dir_.path() / "state", "something else\n");
  Write(20261209, "会議\r\n");
  try {
    Run();
    FAIL() << "no error";
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), SyncError::Kind::kLocal);
  }
  EXPECT_EQ(server_.Size(), 0u);
}

}  // namespace
}  // namespace calsync
