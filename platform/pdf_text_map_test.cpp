#include "platform/pdf_text_map.h"

#include <gtest/gtest.h>

namespace {

TEST(PdfTextMapTest, RadicalTargetsBecomeIdeographsAndNothingElseMoves) {
  std::string pdf =
      "%PDF-1.4\n<2F49> not a map\n"
      "stream\n/CIDInit /ProcSet findresource begin\nbegincmap\n"
      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
      "4 beginbfrange\n"
      "<0001> <0003> [<2F49> <0032> <2f47>]\n"  // array targets: 月 日, lower-case hex too
      "<2F49> <2F49> <2F55>\n"                  // a glyph numbered like a radical: target only
      "<0010> <0012> <2F00>\n"                  // a counting range is left alone
      "<0020> <0020> <2E9F>\n"                  // a supplement radical with an ideograph: 母
      "endbfrange\n"
      "2 beginbfchar\n<0030> <2F1F>\n<0031> <2EAA>\nendbfchar\n"  // 土; 2EAA has none
      "endcmap\nend\nendstream\n<2F49> after the map\n";
  const std::string before = pdf;
  EXPECT_EQ(platform::FoldRadicalsInPdfTextMap(pdf), 5);
  EXPECT_EQ(pdf.size(), before.size());
  EXPECT_NE(pdf.find("<0001> <0003> [<6708> <0032> <65E5>]"), std::string::npos);
  EXPECT_NE(pdf.find("<2F49> <2F49> <706B>"), std::string::npos);
  EXPECT_NE(pdf.find("<0010> <0012> <2F00>"), std::string::npos);
  EXPECT_NE(pdf.find("<0020> <0020> <6BCD>"), std::string::npos);
  EXPECT_NE(pdf.find("<0030> <571F>\n<0031> <2EAA>"), std::string::npos);
  EXPECT_EQ(pdf.substr(0, 30), before.substr(0, 30));
  EXPECT_NE(pdf.find("<2F49> after the map"), std::string::npos);

  std::string plain = "no map here <2F49>";
  EXPECT_EQ(platform::FoldRadicalsInPdfTextMap(plain), 0);
  std::string cut = "begincmap\n1 beginbfchar\n<0001> <2F49>\n";  // no end: left alone
  EXPECT_EQ(platform::FoldRadicalsInPdfTextMap(cut), 0);
}

}  // namespace
