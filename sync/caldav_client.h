// CaldavClient: one calendar collection on a CalDAV server (RFC 4791, with RFC 6578
// sync-collection where the server offers it), as the CalendarServer the sync engine works on.
// Calendars() and OpenByName() find the collection from the account's URL; the CalendarServer
// calls then work on it.
//
// Every call is synchronous: it sends its request and waits for the answer in a local event
// loop. The process needs a QCoreApplication. The client belongs to the thread that made it
// (its QNetworkAccessManager does): make, use and destroy it in one thread, the CLI's main
// thread or a worker QThread. Every failure is a SyncError whose message (Japanese) tells the
// user what happened and that the sync can be run again; nothing is retried behind their back
// except a sync token the server no longer knows.
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sync/calendar_server.h"

class QNetworkAccessManager;

namespace calsync {

struct Multistatus;
enum class DavProp;

struct CaldavAccount {
  std::string url;  // where discovery starts: the server, the principal or the calendar itself
  std::string user;
  std::string password;
};

struct CaldavOptions {
  // No byte moving for this long ends a request (the server does not answer).
  int timeout_ms = 30000;
  // A request still running after this long ends too, however slowly the bytes trickle in.
  int total_timeout_ms = 10 * 60 * 1000;
  // A bigger answer is refused as soon as its size or its Content-Length says so.
  std::int64_t max_response_bytes = 64LL * 1024 * 1024;
  // Off: list the collection by PROPFIND even where sync-collection is offered.
  bool use_sync_collection = true;
  // Hrefs per calendar-multiget request.
  std::size_t fetch_batch = 100;
  // Set from any thread to stop: the request under way is cut off within a tenth of a second
  // and the call throws SyncError kStopped. Must outlive the client.
  const std::atomic<bool>* stop = nullptr;
};

struct CalendarInfo {
  std::string href;  // decoded path, ending in "/"
  std::string display_name;
};

class CaldavClient : public CalendarServer {
 public:
  explicit CaldavClient(CaldavAccount account, CaldavOptions options = {});
  ~CaldavClient() override;
  CaldavClient(const CaldavClient&) = delete;
  CaldavClient& operator=(const CaldavClient&) = delete;

  // The calendar collections of the account's user: the principal from the URL (or from
  // /.well-known/caldav), its calendar-home-set, and the calendars there. The URL itself
  // when it names a calendar.
  std::vector<CalendarInfo> Calendars();
  // Chooses the collection the CalendarServer calls work on.
  void Open(const std::string& calendar_href);
  // Chooses among Calendars() the one whose display name is `name`, else whose last path
  // segment is; gives its href. None or several: SyncError kServer listing the calendars.
  std::string OpenByName(const std::string& name);
  const std::string& calendar_href() const { return collection_; }

  ServerChanges Changes(const std::string& token) override;
  std::vector<FetchedResource> Fetch(const std::vector<std::string>& hrefs) override;
  std::optional<std::string> Put(const std::string& href, const std::string& text,
                                 const std::string& if_match) override;
  bool Remove(const std::string& href, const std::string& if_match) override;
  // The collection's path and `name`, every byte outside [A-Za-z0-9._~@+-] written as %XX so
  // that any name is one plain path segment on every server. Like every href here it is a
  // decoded path: the server lists the resource under this same name.
  std::string HrefFor(const std::string& name) const override;

 private:
  struct Reply;
  struct Header {
    const char* name;
    std::string value;
  };

  // Sends one request to `path` (a decoded path on the account's server) and waits for it,
  // following redirects within the same origin (`hops` so far). Throws for what no caller can
  // handle: the network, a redirect elsewhere, an answer too big, 401, 5xx but 501. Other
  // statuses are the caller's to judge.
  Reply Send(const char* verb, const std::string& path, const std::string& body,
             const std::vector<Header>& headers, int hops = 0);
  Multistatus Propfind(const std::string& path, int depth, std::initializer_list<DavProp> props,
                       bool allow_not_found);
  bool SupportsSyncCollection();
  ServerChanges SyncCollection(const std::string& token, bool* refused);
  ServerChanges ListByPropfind();
  bool IsCollection(const std::string& href) const;
  void RequireOpen() const;

  CaldavAccount account_;
  CaldavOptions options_;
  std::string base_path_;  // the account URL's path, decoded
  std::unique_ptr<QNetworkAccessManager> network_;
  std::string collection_;
  std::optional<bool> sync_collection_;  // learned at the first Changes after Open
};

}  // namespace calsync
