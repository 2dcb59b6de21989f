// The whole sync against a real Radicale, with python3-caldav playing the phone: after every
// case, each day's text here is compared with what the phone reads from the server.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <cstdlib>
#include <map>
#include <random>

#include "platform/cp932.h"
#include "sync/radicale_fixture.h"
#include "sync/sync_session.h"
#include "test_support/temp_dir.h"

namespace calsync {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

struct PhoneEvent {
  std::string uid, summary, description, rrule;
};

class SyncRadicaleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new RadicaleServer;
    server_->Start();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  void SetUp() override {
    static int serial = 0;
    calendar_ = "c" + std::to_string(++serial);
    calendar_href_ = server_->MakeCalendar(calendar_);
    data_ = dir_.path() / "data";
    fs::create_directories(data_);
    setenv("XDG_DATA_HOME", (dir_.path() / "share").c_str(), 1);
  }

  SyncReport Run(const std::string& password = "",
                 std::function<bool(const std::string&, std::size_t, std::size_t)> progress = {}) {
    SyncRequest request;
    request.account = {server_->url(), server_->user(), "", false, false, 0};
    request.password = password.empty() ? server_->password() : password;
    request.calendar = by_path_ ? calendar_href_ : calendar_;
    request.data_dir = data_;
    request.state_dir = dir_.path() / "state";
    request.now = std::time(nullptr);
    request.progress = std::move(progress);
    request.timeout_seconds = 5;
    return RunSync(request).report;
  }

  fs::path DayPath(const std::string& date) {  // "2026-12-09"
    std::string digits = date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2);
    return data_ / date.substr(0, 4) / ("KVR" + digits + ".dat");
  }
  void Write(const std::string& date, const std::string& utf8) {
    WriteBytes(DayPath(date), Sjis(utf8));
  }
  // A day's text as other calendars show it: its lines, joined by "\n".
  std::string Here(const std::string& date) {
    if (!fs::exists(DayPath(date))) return "-";
    std::string text = cp932::ToUtf8(ReadBytes(DayPath(date)));
    if (text.size() >= 3 && text[0] >= '1' && text[0] <= '4' && text.substr(1, 2) == "\r\n")
      text.erase(0, 3);
    std::string joined;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find("\r\n", at);
      if (!joined.empty() || at > 0) joined += "\n";
      joined += text.substr(at, end - at);
      at = end + 2;
    }
    return joined;
  }

  void TearDown() override {
    if (phone_.state() != QProcess::NotRunning) {
      phone_.closeWriteChannel();
      if (!phone_.waitForFinished(5000)) phone_.kill();
    }
  }

  // One command of the phone: a python3-caldav client kept running for the whole test.
  std::vector<std::string> Phone(std::vector<std::string> args) {
    if (phone_.state() == QProcess::NotRunning) {
      phone_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      phone_.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QString::fromStdString("exec " + server_->PhoneCommand(calendar_, {"serve"}))});
      EXPECT_TRUE(phone_.waitForStarted(10000));
    }
    QJsonArray words;
    for (const std::string& arg : args) words.append(QString::fromStdString(arg));
    phone_.write(QJsonDocument(words).toJson(QJsonDocument::Compact) + "\n");
    std::vector<std::string> lines;
    for (;;) {
      while (!phone_.canReadLine()) {
        if (!phone_.waitForReadyRead(60000)) {
          ADD_FAILURE() << "the phone does not answer";
          return lines;
        }
      }
      std::string line = phone_.readLine().trimmed().toStdString();
      if (line == "--end--") return lines;
      if (line.starts_with("--error--")) {
        ADD_FAILURE() << "phone: " << line;
        return lines;
      }
      lines.push_back(line);
    }
  }
  // The phone's view: every event by its date (the first of a series).
  std::map<std::string, PhoneEvent> PhoneDays() {
    std::map<std::string, PhoneEvent> days;
    for (const std::string& line : Phone({"list"})) {
      QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
      std::string start = o["dtstart"].toString().toStdString().substr(0, 8);
      std::string date = start.substr(0, 4) + "-" + start.substr(4, 2) + "-" + start.substr(6, 2);
      PhoneEvent event{o["uid"].toString().toStdString(), o["summary"].toString().toStdString(),
                       o["description"].toString().toStdString(),
                       o["rrule"].toString().toStdString()};
      if (event.uid.starts_with("mirune-")) {
        EXPECT_FALSE(days.count(date)) << "two days on " << date;
        days[date] = event;
      }
    }
    return days;
  }
  std::string Uid(const std::string& date) {
    return "mirune-" + date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2) + "@mirune";
  }
  // Every day agrees on both sides, and there are `days` of them.
  void ExpectSame(std::size_t days) {
    std::map<std::string, PhoneEvent> there = PhoneDays();
    EXPECT_EQ(there.size(), days);
    for (const auto& [date, event] : there) EXPECT_EQ(Here(date), event.description) << date;
    std::size_t here = 0;
    for (const auto& entry : fs::recursive_directory_iterator(data_))
      here += entry.is_regular_file();
    EXPECT_EQ(here, days);
  }

  static RadicaleServer* server_;
  test_support::TempDir dir_;
  std::string calendar_, calendar_href_;
  bool by_path_ = false;  // the calendar chosen by its path, which skips discovery
  fs::path data_;
  QProcess phone_;
};
RadicaleServer* SyncRadicaleTest::server_ = nullptr;

TEST_F(SyncRadicaleTest, EditsDeletesAndMergesOnEitherSide) {
  // A ten-year folder, a day every five weeks.
  std::vector<std::string> dates;
  for (int year = 2017; year <= 2026; ++year) {
    for (int month = 1; month <= 12; month += 1) {
      char date[16];
      std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, 1 + (year + month) % 28);
      dates.push_back(date);
      Write(date, std::string("予定 ") + date + "\r\n会議室Ａ\r\n");
    }
  }
  EXPECT_EQ(Run().sent, 120);
  ExpectSame(120);
  EXPECT_FALSE(Run().Changed());

  Write(dates[0], "ここで直した\r\n");                              // a local edit
  Phone({"edit", Uid(dates[1]), "--description", "電話で直した"});  // a server edit
  Write(dates[2], "ここで追加\r\n");                                // both edited
  Phone({"edit", Uid(dates[2]), "--description", "電話で追加"});
  fs::remove(DayPath(dates[3]));                 // a local delete
  Phone({"delete", Uid(dates[4])});              // a server delete
  Phone({"add", "歯医者 10:00", "2026-12-24"});  // made on the phone
  Phone({"add", "ゴミ出し", "2026-12-07", "--rrule", "FREQ=WEEKLY;COUNT=3"});
  SyncReport report = Run();
  EXPECT_EQ(report.merged, std::vector<std::string>{dates[2]});
  EXPECT_EQ(Here(dates[0]), "ここで直した");
  EXPECT_EQ(Here(dates[1]), "電話で直した");
  EXPECT_TRUE(Here(dates[2]).starts_with("ここで追加\n―― サーバー側の内容 ("));
  EXPECT_TRUE(Here(dates[2]).ends_with(" ――\n電話で追加"));
  EXPECT_EQ(Here(dates[3]), "-");
  EXPECT_EQ(Here(dates[4]), "-");
  EXPECT_TRUE(fs::exists(dir_.path() / "share/Trash/files"));
  EXPECT_EQ(Here("2026-12-24"), "歯医者 10:00");
  for (const char* week : {"2026-12-07", "2026-12-14", "2026-12-21"})
    EXPECT_EQ(Here(week), "ゴミ出し") << week;
  ExpectSame(120 - 2 + 4);
  // The single event is now the day's; the series stays the phone's.
  int series = 0;
  for (const std::string& line : Phone({"list"}))
    series += line.find("FREQ=WEEKLY") != std::string::npos;
  EXPECT_EQ(series, 1);
  EXPECT_FALSE(Run().Changed());
}

TEST_F(SyncRadicaleTest, AServerKilledMidSyncAndAWrongPasswordLeaveASyncThatCanBeRunAgain) {
  by_path_ = true;
  for (int day = 1; day <= 30; ++day)
    Write("2026-11-" + std::string(day < 10 ? "0" : "") + std::to_string(day),
          "日 " + std::to_string(day) + "\r\n");
  try {
    Run("wrong password");
    FAIL() << "no error";
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), SyncError::Kind::kAuthentication);
  }
  bool killed = false;
  try {
    Run("", [&](const std::string& stage, std::size_t done, std::size_t) {
      if (stage == "同期しています" && done == 12 && !killed) {
        server_->Stop();
        killed = true;
      }
      return true;
    });
    FAIL() << "no error";
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), SyncError::Kind::kNetwork) << error.what();
  }
  server_->Start();
  SyncReport again = Run();
  EXPECT_GE(again.sent, 30 - 12);
  EXPECT_LE(again.sent, 30 - 11);
  ExpectSame(30);
  EXPECT_FALSE(Run().Changed());
}

// Rounds of random edits on both sides, each followed by a sync: nothing lost, nothing doubled,
// both sides the same.
TEST_F(SyncRadicaleTest, RandomEditsOnBothSides) {
  const std::vector<std::string> dates = {"2026-12-01", "2026-12-02", "2026-12-03"};
  for (const std::string& date : dates) Write(date, "始め\r\n");
  Run();
  std::mt19937 random(1209);
  int serial = 0;
  for (int round = 0; round < 100; ++round) {
    SCOPED_TRACE(round);
    std::map<std::string, std::vector<std::string>> expected;
    const std::string& date = dates[random() % dates.size()];
    std::string line = "行" + std::to_string(++serial);
    switch (random() % 5) {
      case 0:
      case 1:
        WriteBytes(DayPath(date), (fs::exists(DayPath(date)) ? ReadBytes(DayPath(date)) : "") +
                                      Sjis(line) + "\r\n");
        expected[date].push_back(line);
        break;
      case 2:  // after each sync both sides agree, so the phone's text is the day's here
        if (fs::exists(DayPath(date))) {
          Phone({"edit", Uid(date), "--description", Here(date) + "\n" + line});
        } else {
          Phone({"add", line, date});
        }
        expected[date].push_back(line);
        break;
      case 3:  // both sides
        if (fs::exists(DayPath(date))) {
          Phone({"edit", Uid(date), "--description", Here(date) + "\n" + line + "電話"});
          expected[date].push_back(line + "電話");
        }
        WriteBytes(DayPath(date), (fs::exists(DayPath(date)) ? ReadBytes(DayPath(date)) : "") +
                                      Sjis(line + "ここ") + "\r\n");
        expected[date].push_back(line + "ここ");
        break;
      default:
        if (random() % 2) {
          fs::remove(DayPath(date));
        } else if (fs::exists(DayPath(date))) {
          Phone({"delete", Uid(date)});
        }
    }
    Run();
    std::map<std::string, PhoneEvent> there = PhoneDays();
    for (const std::string& d : dates) {
      std::string here = Here(d);
      EXPECT_EQ(here, there.count(d) ? there[d].description : "-") << d;
      for (const std::string& l : expected[d]) {
        std::size_t at = ("\n" + here + "\n").find("\n" + l + "\n");
        EXPECT_NE(at, std::string::npos) << d << " lost " << l;
        EXPECT_EQ(("\n" + here + "\n").find("\n" + l + "\n", at + 1), std::string::npos)
            << d << " doubled " << l;
      }
    }
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace calsync
