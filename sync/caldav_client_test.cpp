#include "sync/caldav_client.h"

#include <gtest/gtest.h>

#include <QThread>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "sync/radicale_fixture.h"
#include "sync/test_server_process.h"

namespace calsync {
namespace {

using Kind = SyncError::Kind;

std::string Event(const std::string& uid, const std::string& summary) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Mirune//test//JA\r\nBEGIN:VEVENT\r\nUID:" +
         uid + "\r\nDTSTAMP:20261201T000000Z\r\nDTSTART;VALUE=DATE:20261210\r\nSUMMARY:" + summary +
         "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

CaldavOptions Quick() {
  CaldavOptions options;
  options.timeout_ms = 2000;
  options.total_timeout_ms = 8000;
  return options;
}

bool Lists(const std::vector<ServerResource>& resources, const std::string& href,
           const std::string& etag = "") {
  return std::any_of(resources.begin(), resources.end(), [&](const ServerResource& r) {
    return r.href == href && (etag.empty() || r.etag == etag);
  });
}

// The value of `"key": "..."` in one line of phone.py's JSON (no escapes in the tests' values).
std::string JsonField(const std::string& json, const std::string& key) {
  const std::string start = "\"" + key + "\": \"";
  const std::size_t at = json.find(start);
  if (at == std::string::npos) return "";
  const std::size_t from = at + start.size();
  return json.substr(from, json.find('"', from) - from);
}

class CaldavClientTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new RadicaleServer;
    server_->Start();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }

  // A calendar of the test's own, opened in a client.
  std::unique_ptr<CaldavClient> Opened(const std::string& name, CaldavOptions options = Quick()) {
    server_->MakeCalendar(name);
    auto client = Client(server_->password(), options);
    client->Open("/" + server_->user() + "/" + name + "/");
    return client;
  }
  std::unique_ptr<CaldavClient> Client(const std::string& password,
                                       CaldavOptions options = Quick()) {
    return std::make_unique<CaldavClient>(CaldavAccount{server_->url(), server_->user(), password},
                                          options);
  }

  static RadicaleServer* server_;
};
RadicaleServer* CaldavClientTest::server_ = nullptr;

TEST_F(CaldavClientTest, DiscoveryFindsCalendarsByNameOrPathAndListsThemWhenNoneFits) {
  server_->MakeCalendar("work", "仕事");
  server_->MakeCalendar("home", "家");
  server_->MakeCalendar("twin1", "同名");
  server_->MakeCalendar("twin2", "同名");
  auto client = Client(server_->password());
  const std::vector<CalendarInfo> calendars = client->Calendars();
  EXPECT_TRUE(std::any_of(calendars.begin(), calendars.end(), [](const CalendarInfo& c) {
    return c.href == "/mirune/work/" && c.display_name == "仕事";
  }));
  EXPECT_EQ(client->OpenByName("仕事"), "/mirune/work/");
  EXPECT_EQ(client->calendar_href(), "/mirune/work/");
  EXPECT_EQ(client->OpenByName("home"), "/mirune/home/");
  for (const char* name : {"ない", "同名"}) {
    try {
      client->OpenByName(name);
      ADD_FAILURE() << name;
    } catch (const SyncError& error) {
      EXPECT_EQ(error.kind(), Kind::kServer);
      EXPECT_NE(std::string(error.what()).find("「仕事」(/mirune/work/)"), std::string::npos)
          << error.what();
    }
  }
}

TEST_F(CaldavClientTest, PutListFetchAndPreconditions) {
  CaldavOptions options = Quick();
  options.fetch_batch = 2;  // five resources take three multigets
  auto client = Opened("roundtrip", options);
  std::vector<std::string> hrefs;
  std::vector<std::string> etags;
  for (int i = 0; i < 5; ++i) {
    hrefs.push_back(client->HrefFor("ev" + std::to_string(i) + ".ics"));
    const auto etag =
        client->Put(hrefs.back(), Event("ev" + std::to_string(i), "会議 " + std::to_string(i)), "");
    ASSERT_TRUE(etag);
    EXPECT_FALSE(etag->empty());
    etags.push_back(*etag);
  }
  // Made meanwhile by someone else: not overwritten.
  EXPECT_EQ(client->Put(hrefs[0], Event("ev0", "上書き"), ""), std::nullopt);
  EXPECT_EQ(client->Put(hrefs[0], Event("ev0", "上書き"), "\"stale\""), std::nullopt);

  const ServerChanges all = client->Changes("");
  EXPECT_TRUE(all.full);
  EXPECT_FALSE(all.token.empty());
  EXPECT_EQ(all.changed.size(), 5u);
  for (std::size_t i = 0; i < hrefs.size(); ++i)
    EXPECT_TRUE(Lists(all.changed, hrefs[i], etags[i]));

  std::vector<std::string> asked = hrefs;
  asked.push_back(client->HrefFor("never.ics"));
  std::vector<FetchedResource> fetched = client->Fetch(asked);
  ASSERT_EQ(fetched.size(), 5u);
  std::sort(fetched.begin(), fetched.end(),
            [](const auto& a, const auto& b) { return a.href < b.href; });
  EXPECT_EQ(fetched[3].href, hrefs[3]);
  EXPECT_EQ(fetched[3].etag, etags[3]);
  EXPECT_NE(fetched[3].text.find("\r\nSUMMARY:会議 3\r\n"), std::string::npos) << fetched[3].text;

  const auto changed = client->Put(hrefs[1], Event("ev1", "変更"), etags[1]);
  ASSERT_TRUE(changed);
  EXPECT_NE(*changed, etags[1]);
  EXPECT_FALSE(client->Remove(hrefs[1], etags[1]));  // the old version is gone
  EXPECT_TRUE(client->Remove(hrefs[1], *changed));
  EXPECT_TRUE(client->Remove(hrefs[1], *changed));  // already gone counts as removed
  EXPECT_TRUE(client->Fetch({hrefs[1]}).empty());
}

TEST_F(CaldavClientTest, HrefForAnyNameIsListedUnderTheSameName) {
  auto client = Opened("names");
  const std::string href = client->HrefFor("a b/ü?#%.ics");
  EXPECT_EQ(href, "/mirune/names/a%20b%2F%C3%BC%3F%23%25.ics");
  ASSERT_TRUE(client->Put(href, Event("odd", "x"), ""));
  const ServerChanges all = client->Changes("");
  ASSERT_EQ(all.changed.size(), 1u);
  EXPECT_EQ(all.changed[0].href, href);
  EXPECT_EQ(client->Fetch({href}).size(), 1u);
}

TEST_F(CaldavClientTest, IncrementalChangesShowWhatThePhoneDid) {
  auto client = Opened("phone");
  const std::string mine = client->HrefFor("mine.ics");
  ASSERT_TRUE(client->Put(mine, Event("mine", "自分"), ""));
  const ServerChanges first = client->Changes("");
  ASSERT_FALSE(first.token.empty());

  const std::string added = server_->Phone("phone", {"add", "電話の予定", "2026-12-11"});
  const std::string href = JsonField(added, "href");
  const std::string uid = JsonField(added, "uid");
  ASSERT_FALSE(href.empty()) << added;
  const ServerChanges after_add = client->Changes(first.token);
  EXPECT_FALSE(after_add.full);
  ASSERT_EQ(after_add.changed.size(), 1u);
  EXPECT_EQ(after_add.changed[0].href, href);
  EXPECT_TRUE(after_add.removed.empty());

  server_->Phone("phone", {"delete", uid});
  const ServerChanges after_delete = client->Changes(after_add.token);
  EXPECT_FALSE(after_delete.full);
  EXPECT_TRUE(after_delete.changed.empty());
  EXPECT_EQ(after_delete.removed, std::vector<std::string>{href});

  // A token the server does not know: everything again, as a full listing.
  const ServerChanges restart =
      client->Changes("http://radicale.org/ns/sync/" + std::string(64, 'f'));
  EXPECT_TRUE(restart.full);
  EXPECT_EQ(restart.changed.size(), 1u);
  EXPECT_TRUE(Lists(restart.changed, mine));
  EXPECT_FALSE(restart.token.empty());
}

TEST_F(CaldavClientTest, PropfindListingWhenSyncCollectionIsNotUsed) {
  CaldavOptions options = Quick();
  options.use_sync_collection = false;
  auto client = Opened("plain", options);
  const auto etag = client->Put(client->HrefFor("p.ics"), Event("p", "p"), "");
  ASSERT_TRUE(etag);
  for (const std::string token : {"", "some-token"}) {
    const ServerChanges all = client->Changes(token);
    EXPECT_TRUE(all.full);
    EXPECT_EQ(all.token, "");
    ASSERT_EQ(all.changed.size(), 1u);
    EXPECT_TRUE(Lists(all.changed, "/mirune/plain/p.ics", *etag));
  }
}

TEST_F(CaldavClientTest, WorksInAWorkerThreadThatOwnsIt) {
  server_->MakeCalendar("worker");
  std::string href;
  std::string failure;
  std::unique_ptr<QThread> thread(QThread::create([&] {
    try {
      CaldavClient client({server_->url(), server_->user(), server_->password()}, Quick());
      client.OpenByName("worker");
      href = client.HrefFor("w.ics");
      client.Put(href, Event("w", "w"), "");
      if (client.Changes("").changed.size() != 1) failure = "not listed";
    } catch (const SyncError& error) {
      failure = error.what();
    }
  }));
  thread->start();
  ASSERT_TRUE(thread->wait(QDeadlineTimer(20000)));
  EXPECT_EQ(failure, "");
  EXPECT_EQ(href, "/mirune/worker/w.ics");
}

TEST_F(CaldavClientTest, WrongPasswordOrMissingCalendarAreErrorsThatSaySo) {
  auto client = Client("wrong");
  try {
    client->Calendars();
    ADD_FAILURE();
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), Kind::kAuthentication);
    EXPECT_STREQ(error.what(),
                 "ユーザー名またはパスワードが違います。設定を確かめてから、もう一度同期して"
                 "ください。");
  }
  auto right = Client(server_->password());
  right->Open("/mirune/never-made/");
  try {
    right->Changes("");
    ADD_FAILURE();
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), Kind::kServer);
    EXPECT_NE(std::string(error.what()).find("サーバーに見つかりません（HTTP 404"),
              std::string::npos)
        << error.what();
  }
}

TEST_F(CaldavClientTest, ServerKilledAndBackIsANetworkErrorThenWorks) {
  auto client = Opened("restart");
  server_->Stop();
  try {
    client->Changes("");
    ADD_FAILURE();
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), Kind::kNetwork);
    EXPECT_NE(std::string(error.what()).find("もう一度同期"), std::string::npos);
  }
  server_->Start();
  EXPECT_TRUE(client->Changes("").full);
}

// The misbehaving server of testdata/faulty_server.py, one mode a test.
class FaultyServer {
 public:
  explicit FaultyServer(const std::string& mode) : port_(TestServerProcess::FreePort()) {
    process_.Start({"/usr/bin/python3", RadicaleServer::TestdataFolder() + "/faulty_server.py",
                    "--port", std::to_string(port_), mode},
                   port_, "/dev/null");
  }
  std::string url(const char* scheme = "http") const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + "/";
  }

 private:
  int port_;
  TestServerProcess process_;
};

TEST(CaldavClientFaults, EachFaultIsItsKindWithAJapaneseMessageAndNoHang) {
  struct Case {
    const char* mode;  // "" for no server at all
    const char* url;   // instead of the faulty server's
    Kind kind;
    const char* message;
  };
  const Case cases[] = {
      {"hang", nullptr, Kind::kNetwork, "サーバーが応答しません"},
      {"500", nullptr, Kind::kServer, "サーバーでエラーが起きました（HTTP 500"},
      {"garbage", nullptr, Kind::kProtocol, "サーバーの応答を読めません"},
      {"huge", nullptr, Kind::kProtocol, "サーバーの応答が大きすぎます"},
      {"huge-stream", nullptr, Kind::kProtocol, "サーバーの応答が大きすぎます"},
      {"redirect", nullptr, Kind::kProtocol, "別のホストへの転送は拒否しました: http://localhost"},
      {"close", nullptr, Kind::kNetwork, "接続が途中で切れました"},
      {"unauthorized", nullptr, Kind::kAuthentication, "ユーザー名またはパスワードが違います"},
      {"tls", nullptr, Kind::kNetwork, "安全に接続できません"},
      {"", "http://127.0.0.1:1/", Kind::kNetwork, "接続を拒否しました"},
      {"", "http://mirune-test.invalid/", Kind::kNetwork, "サーバーが見つかりません"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode[0] ? c.mode : c.url);
    std::unique_ptr<FaultyServer> server;
    if (c.mode[0]) server = std::make_unique<FaultyServer>(c.mode);
    const std::string url =
        c.url ? c.url : server->url(std::string(c.mode) == "tls" ? "https" : "http");
    CaldavClient client({url, "u", "p"}, Quick());
    const auto start = std::chrono::steady_clock::now();
    try {
      client.Calendars();
      ADD_FAILURE() << "no error";
    } catch (const SyncError& error) {
      EXPECT_EQ(error.kind(), c.kind) << error.what();
      const std::string message = error.what();
      EXPECT_NE(message.find(c.message), std::string::npos) << message;
      EXPECT_NE(message.find("もう一度同期"), std::string::npos) << message;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
  }
}

TEST(CaldavClientFaults, StopCutsOffTheRequestUnderWay) {
  FaultyServer server("hang");
  std::atomic<bool> stop = false;
  CaldavOptions options = Quick();
  options.timeout_ms = 20000;
  options.stop = &stop;
  CaldavClient client({server.url(), "u", "p"}, options);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
  });
  const auto start = std::chrono::steady_clock::now();
  try {
    client.Calendars();
    ADD_FAILURE();
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), Kind::kStopped) << error.what();
  }
  stopper.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_THROW(client.Calendars(), SyncError);  // stays stopped
}

TEST(CaldavClientFaults, ServerWithoutSyncCollectionAndDigestLogin) {
  struct Case {
    const char* mode;
    const char* user;
    const char* password;
  };
  for (const Case& c : {Case{"propfind-only", "u", "p"}, Case{"digest", "digest", "secret"},
                        Case{"moved", "u", "p"}}) {
    SCOPED_TRACE(c.mode);
    FaultyServer server(c.mode);
    CaldavClient client({server.url(), c.user, c.password}, Quick());
    EXPECT_EQ(client.OpenByName("Faulty"), "/cal/");
    for (const std::string token : {"", "old-token"}) {
      const ServerChanges all = client.Changes(token);
      EXPECT_TRUE(all.full);
      EXPECT_EQ(all.token, "");
      ASSERT_EQ(all.changed.size(), 2u);
      EXPECT_TRUE(Lists(all.changed, "/cal/a.ics", "\"a1\""));
      EXPECT_TRUE(Lists(all.changed, "/cal/b c.ics", "\"b1\""));
    }
  }
  FaultyServer digest("digest");
  CaldavClient wrong({digest.url(), "digest", "wrong"}, Quick());
  try {
    wrong.Calendars();
    ADD_FAILURE();
  } catch (const SyncError& error) {
    EXPECT_EQ(error.kind(), Kind::kAuthentication);
  }
}

}  // namespace
}  // namespace calsync
