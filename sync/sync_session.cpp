#include "sync/sync_session.h"

#include "sync/caldav_client.h"
#include "sync/password_store.h"

namespace calsync {

std::vector<CalendarChoice> FindCalendars(const SyncAccount& account, const std::string& password) {
  CaldavClient client({account.url, account.user, password});
  std::vector<CalendarChoice> choices;
  for (const CalendarInfo& info : client.Calendars())
    choices.push_back({info.href, info.display_name.empty() ? info.href : info.display_name});
  return choices;
}

SyncOutcome RunSync(const SyncRequest& request) {
  CaldavOptions options;
  options.timeout_ms = request.timeout_seconds * 1000;
  options.stop = request.stop;
  CaldavClient client({request.account.url, request.account.user, request.password}, options);
  SyncOutcome outcome;
  if (request.calendar.starts_with('/')) {
    // A path names the calendar itself: no discovery (three requests) is needed.
    client.Open(request.calendar);
    outcome.calendar_href = request.calendar;
  } else if (!request.calendar.empty()) {
    outcome.calendar_href = client.OpenByName(request.calendar);
  } else if (!request.account.calendar.empty()) {
    client.Open(request.account.calendar);
    outcome.calendar_href = request.account.calendar;
  } else {
    std::vector<CalendarInfo> calendars = client.Calendars();
    if (calendars.size() != 1) {
      std::string names;
      for (const CalendarInfo& info : calendars)
        names += "\n  「" + info.display_name + "」(" + info.href + ")";
      throw SyncError(SyncError::Kind::kServer,
                      calendars.empty()
                          ? "サーバーにカレンダーがありません。サーバー側でカレンダーを作ってから、"
                            "もう一度同期してください。"
                          : "同期するカレンダーを選んでください（設定の「同期」ページ、または "
                            "--calendar）:" +
                                names);
    }
    client.Open(calendars.front().href);
    outcome.calendar_href = calendars.front().href;
  }
  SyncOptions options_for_engine;
  options_for_engine.data_dir = request.data_dir;
  options_for_engine.state_file =
      StateFile(request.state_dir, request.account.url, request.account.user, outcome.calendar_href,
                request.data_dir);
  options_for_engine.now = request.now;
  options_for_engine.progress = request.progress;
  outcome.report = Sync(client, options_for_engine);
  return outcome;
}

std::string ReadPassword(const SyncAccount& account) {
  return PasswordStore().Read(account.url, account.user).value_or("");
}

void WritePassword(const SyncAccount& account, const std::string& password) {
  PasswordStore().Write(account.url, account.user, password);
}

}  // namespace calsync
