#include "sync/dav_xml.h"

#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "sync/calendar_server.h"

namespace calsync {
namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCaldav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString kCalendarServer = QStringLiteral("http://calendarserver.org/ns/");

bool Is(const QXmlStreamReader& xml, const QString& ns, const char* name) {
  return xml.namespaceUri() == ns && xml.name() == QLatin1String(name);
}

std::string Utf8(const QString& text) {
  return text.toUtf8().toStdString();
}

// The text of a leaf element; the reader ends on its end tag.
QString LeafText(QXmlStreamReader& xml) {
  return xml.readElementText(QXmlStreamReader::IncludeChildElements);
}

// The text of the first DAV:href inside the current element, which the reader leaves.
QString InnerHref(QXmlStreamReader& xml) {
  QString href;
  while (xml.readNextStartElement()) {
    if (href.isEmpty() && Is(xml, kDav, "href")) {
      href = LeafText(xml).trimmed();
    } else {
      xml.skipCurrentElement();
    }
  }
  return href;
}

// Whether a DAV:sync-collection stands anywhere inside the current element.
bool ContainsSyncCollection(QXmlStreamReader& xml) {
  bool found = false;
  int depth = 1;
  while (depth > 0 && !xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement:
        ++depth;
        if (Is(xml, kDav, "sync-collection")) found = true;
        break;
      case QXmlStreamReader::EndElement:
        --depth;
        break;
      default:
        break;
    }
  }
  return found;
}

void ReadProp(QXmlStreamReader& xml, DavResponse& into) {
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, "getetag")) {
      into.etag = Utf8(LeafText(xml).trimmed());
    } else if (Is(xml, kCaldav, "calendar-data")) {
      // XML turns the CRLF line ends of iCalendar into LF unless the server wrote "&#13;";
      // give them back, since a bare LF cannot stand in iCalendar content.
      QString text = LeafText(xml);
      text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
      text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
      into.calendar_data = Utf8(text);
    } else if (Is(xml, kDav, "displayname")) {
      into.display_name = Utf8(LeafText(xml).trimmed());
    } else if (Is(xml, kDav, "resourcetype")) {
      while (xml.readNextStartElement()) {
        if (Is(xml, kDav, "collection")) into.is_collection = true;
        if (Is(xml, kCaldav, "calendar")) into.is_calendar = true;
        xml.skipCurrentElement();
      }
    } else if (Is(xml, kDav, "current-user-principal")) {
      into.current_user_principal = DecodeHref(InnerHref(xml));
    } else if (Is(xml, kCaldav, "calendar-home-set")) {
      into.calendar_home_set = DecodeHref(InnerHref(xml));
    } else if (Is(xml, kDav, "supported-report-set")) {
      into.has_supported_report_set = true;
      into.supports_sync_collection = ContainsSyncCollection(xml);
    } else if (Is(xml, kDav, "sync-token")) {
      into.sync_token = Utf8(LeafText(xml).trimmed());
    } else {
      xml.skipCurrentElement();
    }
  }
}

// Takes the properties of one propstat when its status says they are there.
void ReadPropstat(QXmlStreamReader& xml, DavResponse& into) {
  DavResponse props;
  int status = 200;  // a propstat without status is taken as found
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, "prop")) {
      ReadProp(xml, props);
    } else if (Is(xml, kDav, "status")) {
      status = ParseStatusLine(LeafText(xml));
    } else {
      xml.skipCurrentElement();
    }
  }
  if (status < 200 || status > 299) return;
  if (props.etag) into.etag = props.etag;
  if (props.calendar_data) into.calendar_data = props.calendar_data;
  if (!props.display_name.empty()) into.display_name = props.display_name;
  into.is_collection = into.is_collection || props.is_collection;
  into.is_calendar = into.is_calendar || props.is_calendar;
  if (!props.current_user_principal.empty())
    into.current_user_principal = props.current_user_principal;
  if (!props.calendar_home_set.empty()) into.calendar_home_set = props.calendar_home_set;
  if (props.has_supported_report_set) {
    into.has_supported_report_set = true;
    into.supports_sync_collection = props.supports_sync_collection;
  }
  if (!props.sync_token.empty()) into.sync_token = props.sync_token;
}

DavResponse ReadResponse(QXmlStreamReader& xml) {
  DavResponse response;
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, "href")) {
      response.href = DecodeHref(LeafText(xml).trimmed());
    } else if (Is(xml, kDav, "status")) {
      response.status = ParseStatusLine(LeafText(xml));
    } else if (Is(xml, kDav, "propstat")) {
      ReadPropstat(xml, response);
    } else {
      xml.skipCurrentElement();
    }
  }
  return response;
}

[[noreturn]] void Unreadable(const QString& why) {
  throw SyncError(SyncError::Kind::kProtocol,
                  "サーバーの応答を読めません: " + Utf8(why) +
                      "。サーバーの URL を確かめて、もう一度同期してください。");
}

void WriteProp(QXmlStreamWriter& xml, DavProp prop) {
  switch (prop) {
    case DavProp::kCurrentUserPrincipal:
      xml.writeEmptyElement(kDav, QStringLiteral("current-user-principal"));
      break;
    case DavProp::kCalendarHomeSet:
      xml.writeEmptyElement(kCaldav, QStringLiteral("calendar-home-set"));
      break;
    case DavProp::kDisplayName:
      xml.writeEmptyElement(kDav, QStringLiteral("displayname"));
      break;
    case DavProp::kResourceType:
      xml.writeEmptyElement(kDav, QStringLiteral("resourcetype"));
      break;
    case DavProp::kGetEtag:
      xml.writeEmptyElement(kDav, QStringLiteral("getetag"));
      break;
    case DavProp::kSupportedReportSet:
      xml.writeEmptyElement(kDav, QStringLiteral("supported-report-set"));
      break;
    case DavProp::kSyncToken:
      xml.writeEmptyElement(kDav, QStringLiteral("sync-token"));
      break;
  }
}

// A writer with the two namespaces declared on the root, as servers expect to see them.
void Begin(QXmlStreamWriter& xml, const QString& ns, const char* root) {
  xml.setAutoFormatting(false);
  xml.writeStartDocument();
  xml.writeNamespace(kDav, QStringLiteral("d"));
  xml.writeNamespace(kCaldav, QStringLiteral("c"));
  xml.writeStartElement(ns, QLatin1String(root));
}

}  // namespace

int ParseStatusLine(const QString& line) {
  const QStringList parts = line.simplified().split(QLatin1Char(' '));
  if (parts.size() < 2 || !parts[0].startsWith(QLatin1String("HTTP/"))) return 0;
  bool ok = false;
  const int code = parts[1].toInt(&ok);
  return ok ? code : 0;
}

std::string DecodeHref(const QString& href) {
  QByteArray path = href.toUtf8();
  // A whole URL: keep its path, still encoded, so that an encoded "?" or "#" stays part of it.
  if (href.contains(QLatin1String("://"))) {
    path = QUrl::fromEncoded(path).path(QUrl::FullyEncoded).toUtf8();
  }
  return QByteArray::fromPercentEncoding(path).toStdString();
}

QByteArray EncodeHref(const std::string& path) {
  return QByteArray(path.data(), static_cast<qsizetype>(path.size())).toPercentEncoding("/");
}

Multistatus ParseMultistatus(const QByteArray& body) {
  QXmlStreamReader xml(body);
  Multistatus result;
  if (!xml.readNextStartElement()) {
    Unreadable(xml.hasError() ? xml.errorString() : QStringLiteral("空の応答です"));
  }
  if (!Is(xml, kDav, "multistatus")) {
    Unreadable(QStringLiteral("multistatus ではなく ") + xml.name().toString() +
               QStringLiteral(" が返りました"));
  }
  while (xml.readNextStartElement()) {
    if (Is(xml, kDav, "response")) {
      result.responses.push_back(ReadResponse(xml));
    } else if (Is(xml, kDav, "sync-token")) {
      result.sync_token = Utf8(LeafText(xml).trimmed());
    } else {
      xml.skipCurrentElement();
    }
  }
  // Whatever follows the root must still be well formed.
  while (!xml.atEnd()) xml.readNext();
  if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError) {
    Unreadable(xml.errorString());
  }
  if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
    Unreadable(QStringLiteral("応答が途中で終わっています"));
  }
  return result;
}

QByteArray PropfindBody(std::initializer_list<DavProp> props) {
  QByteArray body;
  QXmlStreamWriter xml(&body);
  Begin(xml, kDav, "propfind");
  xml.writeStartElement(kDav, QStringLiteral("prop"));
  for (DavProp prop : props) WriteProp(xml, prop);
  xml.writeEndDocument();
  return body;
}

QByteArray SyncCollectionBody(const std::string& token) {
  QByteArray body;
  QXmlStreamWriter xml(&body);
  Begin(xml, kDav, "sync-collection");
  xml.writeTextElement(kDav, QStringLiteral("sync-token"), QString::fromStdString(token));
  xml.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
  xml.writeStartElement(kDav, QStringLiteral("prop"));
  WriteProp(xml, DavProp::kGetEtag);
  xml.writeEndDocument();
  return body;
}

QByteArray MultigetBody(const std::vector<std::string>& hrefs) {
  QByteArray body;
  QXmlStreamWriter xml(&body);
  Begin(xml, kCaldav, "calendar-multiget");
  xml.writeStartElement(kDav, QStringLiteral("prop"));
  WriteProp(xml, DavProp::kGetEtag);
  xml.writeEmptyElement(kCaldav, QStringLiteral("calendar-data"));
  xml.writeEndElement();
  for (const std::string& href : hrefs) {
    xml.writeTextElement(kDav, QStringLiteral("href"), QString::fromLatin1(EncodeHref(href)));
  }
  xml.writeEndDocument();
  return body;
}

}  // namespace calsync
