#include "sync/caldav_client.h"

#include <QAuthenticator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "sync/dav_xml.h"

namespace calsync {

struct CaldavClient::Reply {
  int status = 0;
  QByteArray body;
  std::optional<std::string> etag;  // the ETag header
};

namespace {

const char kAgain[] = "しばらくしてから、もう一度同期してください。";

bool Ok(int status) {
  return status >= 200 && status <= 299;
}

std::string Utf8(const QString& text) {
  return text.toUtf8().toStdString();
}

std::string WithSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool SameOrigin(const QUrl& a, const QUrl& b) {
  const int default_port = a.scheme() == QLatin1String("https") ? 443 : 80;
  return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
         a.port(default_port) == b.port(default_port);
}

[[noreturn]] void ThrowForStatus(int status, const std::string& what) {
  if (status == 401) {
    throw SyncError(SyncError::Kind::kAuthentication,
                    "ユーザー名またはパスワードが違います。設定を確かめてから、もう一度同期して"
                    "ください。");
  }
  if (status >= 500) {
    throw SyncError(SyncError::Kind::kServer, "サーバーでエラーが起きました（HTTP " +
                                                  std::to_string(status) + "、" + what + "）。" +
                                                  kAgain);
  }
  if (status == 404) {
    throw SyncError(SyncError::Kind::kServer,
                    "サーバーに見つかりません（HTTP 404、" + what +
                        "）。カレンダーの URL と名前を確かめてから、もう一度同期してください。");
  }
  throw SyncError(SyncError::Kind::kServer, "サーバーが要求を受け付けませんでした（HTTP " +
                                                std::to_string(status) + "、" + what +
                                                "）。設定を確かめてから、もう一度同期してくださ"
                                                "い。");
}

// Why a request ended without an HTTP answer, for the user.
[[noreturn]] void ThrowForTransport(QNetworkReply::NetworkError error, const QUrl& url,
                                    const QString& detail, int timeout_ms) {
  using E = QNetworkReply::NetworkError;
  const std::string host = Utf8(url.host());
  std::string what;
  switch (error) {
    case E::ConnectionRefusedError:
      what = "サーバーに接続できません（" + host + " が接続を拒否しました）。";
      break;
    case E::HostNotFoundError:
      what = "サーバーが見つかりません: " + host + "。";
      break;
    case E::TimeoutError:
    case E::OperationCanceledError:
      what = "サーバーが応答しません（" + std::to_string(timeout_ms / 1000) + " 秒待ちました）。";
      break;
    case E::RemoteHostClosedError:
      what = "サーバーとの接続が途中で切れました。";
      break;
    case E::SslHandshakeFailedError:
      what = "サーバーと安全に接続できません（証明書を確かめられません: " + Utf8(detail) + "）。";
      break;
    default:
      what = "サーバーと通信できません: " + Utf8(detail) + "。";
      break;
  }
  throw SyncError(SyncError::Kind::kNetwork, what + kAgain);
}

[[noreturn]] void ThrowStopped() {
  throw SyncError(SyncError::Kind::kStopped, "同期を中止しました。続きは次の同期で行います。");
}

}  // namespace

CaldavClient::CaldavClient(CaldavAccount account, CaldavOptions options)
    : account_(std::move(account)),
      options_(options),
      network_(std::make_unique<QNetworkAccessManager>()) {
  const QUrl url(QString::fromStdString(account_.url));
  base_path_ = DecodeHref(url.path(QUrl::FullyEncoded));
  if (base_path_.empty()) base_path_ = "/";
  // Qt would follow a redirect of PROPFIND or REPORT as a GET: Send follows them itself.
  network_->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

CaldavClient::~CaldavClient() = default;

CaldavClient::Reply CaldavClient::Send(const char* verb, const std::string& path,
                                       const std::string& body, const std::vector<Header>& headers,
                                       int hops) {
  auto stop_asked = [this] { return options_.stop && options_.stop->load(); };
  if (stop_asked()) ThrowStopped();
  QUrl url(QString::fromStdString(account_.url));
  url.setPath(QString::fromStdString(path), QUrl::DecodedMode);
  url.setQuery(QString());
  url.setFragment(QString());

  QNetworkRequest request(url);
  request.setTransferTimeout(options_.timeout_ms);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  for (const Header& header : headers) {
    request.setRawHeader(header.name, QByteArray::fromStdString(header.value));
  }

  QNetworkReply* reply =
      network_->sendCustomRequest(request, verb, QByteArray::fromStdString(body));
  std::unique_ptr<QNetworkReply> owner(reply);
  Reply result;
  bool too_large = false;
  bool timed_out = false;
  bool asked_credentials = false;
  bool credentials_refused = false;
  QEventLoop loop;

  const std::int64_t limit = options_.max_response_bytes;
  auto take = [&] {
    if (!reply->isOpen()) return;
    result.body.append(reply->readAll());
    if (result.body.size() > limit && !too_large) {
      too_large = true;
      reply->abort();
    }
  };
  QObject::connect(reply, &QNetworkReply::readyRead, &loop, take);
  QObject::connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64, qint64 total) {
    if (total > limit && !too_large) {
      too_large = true;
      reply->abort();
    }
  });
  // Answered once per request: asked again, the server refused the password.
  QObject::connect(network_.get(), &QNetworkAccessManager::authenticationRequired, &loop,
                   [&](QNetworkReply* asking, QAuthenticator* authenticator) {
                     if (asking != reply) return;
                     if (asked_credentials) {
                       credentials_refused = true;
                       return;
                     }
                     asked_credentials = true;
                     authenticator->setUser(QString::fromStdString(account_.user));
                     authenticator->setPassword(QString::fromStdString(account_.password));
                   });
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
    timed_out = true;
    reply->abort();
  });
  deadline.start(options_.total_timeout_ms);
  bool stopped = false;
  QTimer stop_watch;
  if (options_.stop) {
    QObject::connect(&stop_watch, &QTimer::timeout, &loop, [&] {
      if (stop_asked() && !stopped) {
        stopped = true;
        reply->abort();
      }
    });
    stop_watch.start(100);
  }
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!too_large) take();
  if (stopped) ThrowStopped();

  if (too_large) {
    throw SyncError(
        SyncError::Kind::kProtocol,
        "サーバーの応答が大きすぎます（" + std::to_string(limit / (1024 * 1024)) +
            " MB を超えました）。サーバーの URL を確かめて、もう一度同期してください。");
  }
  if (credentials_refused) ThrowForStatus(401, verb);
  const QNetworkReply::NetworkError error = reply->error();
  // Below 200 the transfer itself failed (connection, timeout, TLS, proxy); above, the server
  // answered with a status that is judged below and by the caller.
  if (timed_out || (error != QNetworkReply::NoError && error < 200)) {
    ThrowForTransport(timed_out ? QNetworkReply::TimeoutError : error, url, reply->errorString(),
                      timed_out ? options_.total_timeout_ms : options_.timeout_ms);
  }
  result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  // A body cut short by the server closing the connection is at times handed over as complete
  // (seen on a loaded machine): fewer bytes than the length announced is that same cut. A
  // compressed body is left alone, as its length counts the compressed bytes.
  const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
  const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
  if (announced.isValid() && (encoding.isEmpty() || encoding == "identity") &&
      result.status != 204 && result.status != 304 &&
      static_cast<qint64>(result.body.size()) < announced.toLongLong()) {
    ThrowForTransport(QNetworkReply::RemoteHostClosedError, url, reply->errorString(),
                      options_.timeout_ms);
  }
  if (result.status == 0) {
    throw SyncError(SyncError::Kind::kProtocol,
                    "サーバーの応答を読めません: " + Utf8(reply->errorString()) + "。" + kAgain);
  }
  // 501 says the method is not offered, which a caller may work around.
  if (result.status == 401 || (result.status >= 500 && result.status != 501)) {
    ThrowForStatus(result.status, verb);
  }
  if (result.status >= 300 && result.status <= 399) {
    // Followed with the same method and body, and only within the origin the user gave: the
    // password goes to no one else, and a plain-text hop cannot stand in for TLS.
    const QByteArray location = reply->rawHeader("Location");
    const QUrl to = url.resolved(QUrl::fromEncoded(location));
    if (location.isEmpty() || !to.isValid() || hops >= 5) {
      throw SyncError(SyncError::Kind::kProtocol,
                      "サーバーの転送をたどれません（HTTP " + std::to_string(result.status) +
                          "）。サーバーの URL を確かめて、もう一度同期してください。");
    }
    if (!SameOrigin(url, to)) {
      throw SyncError(SyncError::Kind::kProtocol,
                      "別のホストへの転送は拒否しました: " + Utf8(to.toDisplayString()) +
                          "。サーバーの URL を確かめて、もう一度同期してください。");
    }
    return Send(verb, DecodeHref(to.path(QUrl::FullyEncoded)), body, headers, hops + 1);
  }
  if (reply->hasRawHeader("ETag")) result.etag = reply->rawHeader("ETag").toStdString();
  return result;
}

Multistatus CaldavClient::Propfind(const std::string& path, int depth,
                                   std::initializer_list<DavProp> props, bool allow_not_found) {
  const QByteArray body = PropfindBody(props);
  Reply reply =
      Send("PROPFIND", path, body.toStdString(),
           {{"Depth", std::to_string(depth)}, {"Content-Type", "application/xml; charset=utf-8"}});
  if (reply.status == 207) return ParseMultistatus(reply.body);
  if (allow_not_found && (reply.status == 404 || reply.status == 403 || reply.status == 405)) {
    return {};
  }
  ThrowForStatus(reply.status, "PROPFIND " + path);
}

std::vector<CalendarInfo> CaldavClient::Calendars() {
  std::vector<CalendarInfo> calendars;
  auto find_principal = [&](const std::string& path) {
    std::string principal;
    const Multistatus answer = Propfind(
        path, 0, {DavProp::kCurrentUserPrincipal, DavProp::kResourceType, DavProp::kDisplayName},
        true);
    for (const DavResponse& response : answer.responses) {
      if (!response.current_user_principal.empty()) principal = response.current_user_principal;
      if (response.is_calendar) {
        calendars.push_back({WithSlash(response.href), response.display_name});
      }
    }
    return principal;
  };
  std::string principal = find_principal(base_path_);
  // RFC 6764: a server that does not say who is logged in at this URL may at its well-known one.
  if (principal.empty() && calendars.empty()) principal = find_principal("/.well-known/caldav");
  if (principal.empty()) {
    if (!calendars.empty()) return calendars;
    throw SyncError(SyncError::Kind::kProtocol,
                    "この URL に CalDAV のカレンダーが見つかりません: " + account_.url +
                        "。サーバーの URL を確かめて、もう一度同期してください。");
  }
  std::string home;
  for (const DavResponse& response :
       Propfind(principal, 0, {DavProp::kCalendarHomeSet}, true).responses) {
    if (!response.calendar_home_set.empty()) home = response.calendar_home_set;
  }
  if (home.empty()) home = principal;
  for (const DavResponse& response :
       Propfind(WithSlash(home), 1, {DavProp::kResourceType, DavProp::kDisplayName}, false)
           .responses) {
    if (!response.is_calendar) continue;
    const std::string href = WithSlash(response.href);
    const bool known = std::any_of(calendars.begin(), calendars.end(),
                                   [&](const CalendarInfo& c) { return c.href == href; });
    if (!known) calendars.push_back({href, response.display_name});
  }
  return calendars;
}

void CaldavClient::Open(const std::string& calendar_href) {
  collection_ = WithSlash(calendar_href);
  sync_collection_.reset();
}

std::string CaldavClient::OpenByName(const std::string& name) {
  const std::vector<CalendarInfo> calendars = Calendars();
  auto last_segment = [](const std::string& href) {
    std::string path = href;
    while (!path.empty() && path.back() == '/') path.pop_back();
    return path.substr(path.rfind('/') + 1);
  };
  std::vector<const CalendarInfo*> matches;
  for (const CalendarInfo& calendar : calendars) {
    if (calendar.display_name == name) matches.push_back(&calendar);
  }
  if (matches.empty()) {
    for (const CalendarInfo& calendar : calendars) {
      if (last_segment(calendar.href) == name) matches.push_back(&calendar);
    }
  }
  if (matches.size() == 1) {
    Open(matches.front()->href);
    return collection_;
  }
  std::string names;
  for (const CalendarInfo& calendar : calendars) {
    if (!names.empty()) names += "、";
    names += "「" +
             (calendar.display_name.empty() ? last_segment(calendar.href) : calendar.display_name) +
             "」(" + calendar.href + ")";
  }
  if (names.empty()) names = "なし";
  throw SyncError(SyncError::Kind::kServer,
                  (matches.empty() ? "カレンダー「" + name + "」がサーバーにありません。"
                                   : "カレンダー「" + name + "」に当たるものが複数あります。") +
                      "サーバーにあるカレンダー: " + names +
                      "。設定のカレンダー名を直して、もう一度同期してください。");
}

void CaldavClient::RequireOpen() const {
  if (collection_.empty()) {
    throw SyncError(SyncError::Kind::kLocal,
                    "同期するカレンダーが選ばれていません。設定を確かめてください。");
  }
}

bool CaldavClient::IsCollection(const std::string& href) const {
  return WithSlash(href) == collection_;
}

bool CaldavClient::SupportsSyncCollection() {
  if (!sync_collection_) {
    const Multistatus answer = Propfind(collection_, 0, {DavProp::kSupportedReportSet}, false);
    // A server that does not list its reports is tried; its answer to the REPORT decides.
    bool supported = true;
    for (const DavResponse& response : answer.responses) {
      if (IsCollection(response.href) && response.has_supported_report_set) {
        supported = response.supports_sync_collection;
      }
    }
    sync_collection_ = supported;
  }
  return *sync_collection_;
}

ServerChanges CaldavClient::SyncCollection(const std::string& token, bool* refused) {
  *refused = false;
  Reply reply = Send("REPORT", collection_, SyncCollectionBody(token).toStdString(),
                     {{"Content-Type", "application/xml; charset=utf-8"}});
  ServerChanges changes;
  changes.full = token.empty();
  if (reply.status == 207) {
    const Multistatus answer = ParseMultistatus(reply.body);
    for (const DavResponse& response : answer.responses) {
      if (IsCollection(response.href)) continue;
      if (response.status == 404) {
        changes.removed.push_back(response.href);
      } else if (!response.href.empty() && response.href.back() != '/') {
        changes.changed.push_back({response.href, response.etag.value_or("")});
      }
    }
    changes.token = answer.sync_token;
    return changes;
  }
  const bool token_refused = reply.body.contains("valid-sync-token");
  if (token_refused ||
      (!token.empty() && (reply.status == 400 || reply.status == 403 || reply.status == 409))) {
    if (token.empty()) ThrowForStatus(reply.status, "REPORT sync-collection");
    *refused = true;  // the token: start over
    return changes;
  }
  if (reply.status == 403 || reply.status == 405 || reply.status == 501 || reply.status == 400) {
    sync_collection_ = false;
    return changes;
  }
  ThrowForStatus(reply.status, "REPORT sync-collection");
}

ServerChanges CaldavClient::ListByPropfind() {
  ServerChanges changes;
  changes.full = true;
  for (const DavResponse& response :
       Propfind(collection_, 1, {DavProp::kGetEtag, DavProp::kResourceType}, false).responses) {
    if (IsCollection(response.href) || response.is_collection) continue;
    if (response.href.empty() || response.href.back() == '/') continue;
    changes.changed.push_back({response.href, response.etag.value_or("")});
  }
  return changes;
}

ServerChanges CaldavClient::Changes(const std::string& token) {
  RequireOpen();
  if (options_.use_sync_collection && SupportsSyncCollection()) {
    bool refused = false;
    ServerChanges changes = SyncCollection(token, &refused);
    if (refused) changes = SyncCollection("", &refused);
    if (*sync_collection_) return changes;
  }
  return ListByPropfind();
}

std::vector<FetchedResource> CaldavClient::Fetch(const std::vector<std::string>& hrefs) {
  RequireOpen();
  std::vector<FetchedResource> fetched;
  const std::size_t batch = std::max<std::size_t>(1, options_.fetch_batch);
  for (std::size_t begin = 0; begin < hrefs.size(); begin += batch) {
    const std::vector<std::string> part(hrefs.begin() + begin,
                                        hrefs.begin() + std::min(hrefs.size(), begin + batch));
    Reply reply = Send("REPORT", collection_, MultigetBody(part).toStdString(),
                       {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}});
    if (reply.status != 207) ThrowForStatus(reply.status, "REPORT calendar-multiget");
    for (DavResponse& response : ParseMultistatus(reply.body).responses) {
      if (!response.calendar_data || IsCollection(response.href)) continue;
      fetched.push_back(
          {response.href, response.etag.value_or(""), std::move(*response.calendar_data)});
    }
  }
  return fetched;
}

std::optional<std::string> CaldavClient::Put(const std::string& href, const std::string& text,
                                             const std::string& if_match) {
  RequireOpen();
  std::vector<Header> headers = {{"Content-Type", "text/calendar; charset=utf-8"}};
  if (if_match.empty()) {
    headers.push_back({"If-None-Match", "*"});
  } else {
    headers.push_back({"If-Match", if_match});
  }
  Reply reply = Send("PUT", href, text, headers);
  if (reply.status == 412) return std::nullopt;
  if (!Ok(reply.status)) ThrowForStatus(reply.status, "PUT " + href);
  return reply.etag.value_or("");
}

bool CaldavClient::Remove(const std::string& href, const std::string& if_match) {
  RequireOpen();
  std::vector<Header> headers;
  if (!if_match.empty()) headers.push_back({"If-Match", if_match});
  Reply reply = Send("DELETE", href, "", headers);
  if (reply.status == 412) return false;
  if (reply.status == 404 || Ok(reply.status)) return true;
  ThrowForStatus(reply.status, "DELETE " + href);
}

std::string CaldavClient::HrefFor(const std::string& name) const {
  static const char kHex[] = "0123456789ABCDEF";
  std::string href = collection_;
  for (unsigned char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       std::string_view("._~@+-").find(c) != std::string_view::npos;
    if (plain) {
      href += static_cast<char>(c);
    } else {
      href += '%';
      href += kHex[c >> 4];
      href += kHex[c & 15];
    }
  }
  return href;
}

}  // namespace calsync
