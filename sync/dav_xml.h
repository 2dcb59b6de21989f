// The WebDAV and CalDAV XML the client speaks: reading a multistatus answer (RFC 4918, with the
// CalDAV and sync-collection properties) and writing the few request bodies it sends. Nothing
// here touches the network; ParseMultistatus is the one reader of server XML.
#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace calsync {

// One <response> of a multistatus. The properties are those of propstats with a 2xx status
// (a property the server reports as 404 is simply absent). Texts are UTF-8.
struct DavResponse {
  std::string href;  // the path, percent-decoded
  int status = 0;    // the response's own status (a removed member in sync-collection); 0: none
  std::optional<std::string> etag;
  std::optional<std::string> calendar_data;  // with CRLF line ends
  std::string display_name;
  bool is_collection = false;
  bool is_calendar = false;
  std::string current_user_principal;  // decoded path
  std::string calendar_home_set;       // decoded path
  bool has_supported_report_set = false;
  bool supports_sync_collection = false;
  std::string sync_token;  // the collection's DAV:sync-token property
};

struct Multistatus {
  std::vector<DavResponse> responses;
  std::string sync_token;  // the sync-collection answer's new token
};

// Throws SyncError kProtocol when `xml` is not a well-formed DAV:multistatus.
Multistatus ParseMultistatus(const QByteArray& xml);

// "HTTP/1.1 404 Not Found" → 404; 0 when the line is not a status line.
int ParseStatusLine(const QString& line);

// An href as a server writes it (a path or a whole URL, percent-encoded) as the decoded path.
std::string DecodeHref(const QString& href);
// A decoded path as it goes on the wire: percent-encoded, the slashes kept.
QByteArray EncodeHref(const std::string& path);

enum class DavProp {
  kCurrentUserPrincipal,
  kCalendarHomeSet,
  kDisplayName,
  kResourceType,
  kGetEtag,
  kSupportedReportSet,
  kSyncToken,
};

QByteArray PropfindBody(std::initializer_list<DavProp> props);
// RFC 6578 sync-collection, sync-level 1, asking for the ETags; "" for a first sync.
QByteArray SyncCollectionBody(const std::string& token);
// RFC 4791 calendar-multiget for these decoded paths, asking for ETag and calendar data.
QByteArray MultigetBody(const std::vector<std::string>& hrefs);

}  // namespace calsync
