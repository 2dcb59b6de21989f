#include "sync/dav_xml.h"

#include <gtest/gtest.h>

#include "sync/calendar_server.h"

namespace calsync {
namespace {

QByteArray Wrap(const char* inner) {
  return QByteArray(
             "<?xml version='1.0' encoding='utf-8'?><D:multistatus xmlns:D='DAV:' "
             "xmlns:C='urn:ietf:params:xml:ns:caldav'>") +
         inner + "</D:multistatus>";
}

TEST(DavXml, ReadsEveryPropertyTheClientUses) {
  const Multistatus answer = ParseMultistatus(Wrap(
      "<D:response><D:href>http://h:8/cal/%E4%BC%9A%E8%AD%B0%20a.ics</D:href>"
      "<D:propstat><D:prop><D:getetag>\"e1\"</D:getetag>"
      "<C:calendar-data><![CDATA[BEGIN:VCALENDAR\r\nSUMMARY:会議 & <x>\r\n]]></C:calendar-data>"
      "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat>"
      "<D:propstat><D:prop><D:displayname>lost</D:displayname></D:prop>"
      "<D:status>HTTP/1.1 404 Not Found</D:status></D:propstat></D:response>"
      "<D:response><D:href>/cal/gone.ics</D:href><D:status>HTTP/1.1 404 Not Found</D:status>"
      "</D:response>"
      "<D:response><D:href>/cal/</D:href><D:propstat><D:prop>"
      "<D:resourcetype><D:collection/><C:calendar/></D:resourcetype>"
      "<D:displayname> 仕事 </D:displayname>"
      "<D:current-user-principal><D:href>/p%40x/</D:href></D:current-user-principal>"
      "<C:calendar-home-set><D:href>/home/</D:href></C:calendar-home-set>"
      "<D:supported-report-set><D:supported-report><D:report><D:sync-collection/></D:report>"
      "</D:supported-report></D:supported-report-set>"
      "<D:sync-token>tok-prop</D:sync-token></D:prop></D:propstat></D:response>"
      "<D:sync-token>tok-2</D:sync-token>"));
  ASSERT_EQ(answer.responses.size(), 3u);
  const DavResponse& event = answer.responses[0];
  EXPECT_EQ(event.href, "/cal/会議 a.ics");
  EXPECT_EQ(event.etag.value_or(""), "\"e1\"");
  EXPECT_EQ(event.calendar_data.value_or(""), "BEGIN:VCALENDAR\r\nSUMMARY:会議 & <x>\r\n");
  EXPECT_EQ(event.display_name, "");  // reported as 404
  EXPECT_EQ(event.status, 0);
  EXPECT_EQ(answer.responses[1].status, 404);
  EXPECT_FALSE(answer.responses[1].etag);
  const DavResponse& collection = answer.responses[2];
  EXPECT_TRUE(collection.is_collection);
  EXPECT_TRUE(collection.is_calendar);
  EXPECT_EQ(collection.display_name, "仕事");
  EXPECT_EQ(collection.current_user_principal, "/p@x/");
  EXPECT_EQ(collection.calendar_home_set, "/home/");
  EXPECT_TRUE(collection.has_supported_report_set);
  EXPECT_TRUE(collection.supports_sync_collection);
  EXPECT_EQ(collection.sync_token, "tok-prop");
  EXPECT_EQ(answer.sync_token, "tok-2");
}

TEST(DavXml, ReportSetWithoutSyncCollection) {
  const Multistatus answer = ParseMultistatus(
      Wrap("<D:response><D:href>/c/</D:href><D:propstat><D:prop><D:supported-report-set>"
           "<D:supported-report><D:report><C:calendar-multiget/></D:report></D:supported-report>"
           "</D:supported-report-set></D:prop></D:propstat></D:response>"));
  ASSERT_EQ(answer.responses.size(), 1u);
  EXPECT_TRUE(answer.responses[0].has_supported_report_set);
  EXPECT_FALSE(answer.responses[0].supports_sync_collection);
}

TEST(DavXml, UnreadableAnswersAreProtocolErrors) {
  const char* cases[] = {
      "",
      "not xml at all",
      "<html><body>Login</body></html>",
      "<?xml version='1.0'?><D:multistatus xmlns:D='DAV:'><D:response><D:href>/x",
      "<?xml version='1.0'?><D:multistatus xmlns:D='DAV:'><D:response></D:multistatus>",
      "<?xml version='1.0'?><multistatus><response/></multistatus>",  // no DAV: namespace
  };
  for (const char* body : cases) {
    try {
      ParseMultistatus(body);
      ADD_FAILURE() << "accepted: " << body;
    } catch (const SyncError& error) {
      EXPECT_EQ(error.kind(), SyncError::Kind::kProtocol) << body;
      EXPECT_EQ(std::string(error.what()).rfind("サーバーの応答を読めません: ", 0), 0u)
          << error.what();
    }
  }
}

TEST(DavXml, RequestBodiesCarryHrefsAndTokenIntact) {
  const std::vector<std::string> hrefs = {"/cal/a b.ics", "/cal/会議&<.ics"};
  const QByteArray multiget = MultigetBody(hrefs);
  EXPECT_TRUE(multiget.contains("calendar-multiget"));
  EXPECT_TRUE(multiget.contains("/cal/a%20b.ics"));
  // What the server would answer for these hrefs decodes back to the same paths.
  EXPECT_EQ(DecodeHref(QString::fromLatin1(EncodeHref(hrefs[1]))), hrefs[1]);
  const QByteArray sync = SyncCollectionBody("http://x/sync/1&2");
  EXPECT_TRUE(sync.contains("<d:sync-token>http://x/sync/1&amp;2</d:sync-token>"));
  EXPECT_TRUE(sync.contains("<d:sync-level>1</d:sync-level>"));
  EXPECT_TRUE(SyncCollectionBody("").contains("<d:sync-token></d:sync-token>"));
}

}  // namespace
}  // namespace calsync
