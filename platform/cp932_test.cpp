#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s.push_back(static_cast<char>(b));
  return s;
}

TEST(Cp932Codec, MapsLikeWindows) {
  // Characters that other Shift-JIS tables map differently.
  EXPECT_EQ(cp932::FromUtf8("｢｣"), Bytes({0xA2, 0xA3}));
  EXPECT_EQ(cp932::FromUtf8("－～"), Bytes({0x81, 0x7C, 0x81, 0x60}));
  EXPECT_EQ(cp932::FromUtf8("①Ⅰ"), Bytes({0x87, 0x40, 0x87, 0x54}));
  EXPECT_EQ(cp932::FromUtf8("ｱﾝ"), Bytes({0xB1, 0xDD}));
  EXPECT_EQ(cp932::ToUtf8(Bytes({0x83, 0x66, 0x81, 0x5B, 0x83, 0x5E})), "データ");
  // NEC-selected IBM extensions decode to the same characters as the IBM rows and are written
  // back in the IBM form, as Windows does.
  EXPECT_EQ(cp932::ToUtf8(Bytes({0xED, 0x40})), cp932::ToUtf8(Bytes({0xFA, 0x5C})));
  EXPECT_EQ(cp932::FromUtf8(cp932::ToUtf8(Bytes({0xED, 0x40}))), Bytes({0xFA, 0x5C}));
  EXPECT_EQ(cp932::FromUtf8("¬"), Bytes({0x81, 0xCA}));
  EXPECT_EQ(cp932::FromUtf8("≒"), Bytes({0x81, 0xE0}));
  // The user-defined area maps to the private use area.
  EXPECT_EQ(cp932::Decode(Bytes({0xF0, 0x40})), std::u16string(1, u'\uE000'));
}

TEST(Cp932Codec, EveryDoubleByteCodeSurvivesDecodeAndEncode) {
  // Decoding then encoding any pair gives back either the same bytes or the one preferred form
  // of its character, and that preferred form is stable.
  int changed = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      std::string pair = Bytes({lead, trail});
      std::string again = cp932::Encode(cp932::Decode(pair));
      if (again != pair) {
        ++changed;
        ASSERT_EQ(cp932::Encode(cp932::Decode(again)), again) << std::hex << lead << trail;
        ASSERT_EQ(cp932::Decode(again), cp932::Decode(pair));
      }
    }
  }
  // Only the duplicate codes of the NEC and IBM extension rows are rewritten.
  EXPECT_GT(changed, 300);
  EXPECT_LT(changed, 420);
}

TEST(Cp932Codec, UndecodableBytesRoundTripExactly) {
  for (const std::string& s :
       {Bytes({0x81}), Bytes({'a', 0x82}), Bytes({0x80, 0xA0, 0xFD, 0xFE, 0xFF}),
        Bytes({0x81, 0x20, 'x'}), Bytes({0x85, 0x40}), Bytes({0xFC, 0xFC})}) {
    std::u16string decoded = cp932::Decode(s);
    bool exact = true;
    EXPECT_EQ(cp932::Encode(decoded, &exact), s);
    EXPECT_TRUE(exact);
    // Decoding is the same every time.
    EXPECT_EQ(cp932::Decode(s), decoded);
  }
  // A lone trailing lead byte is carried, not dropped, and the text before it is intact.
  std::u16string tail = cp932::Decode(Bytes({0x82, 0xA0, 0x82}));
  ASSERT_EQ(tail.size(), 2u);
  EXPECT_EQ(tail[0], u'あ');
  EXPECT_EQ(tail[1], 0xDC82);
}

TEST(Cp932Codec, ReportsCharactersWithoutCp932Form) {
  bool exact = true;
  EXPECT_EQ(cp932::FromUtf8("a😀b한", &exact), "a?b?");
  EXPECT_FALSE(exact);
  exact = true;
  EXPECT_EQ(cp932::FromUtf8("予定表", &exact), Bytes({0x97, 0x5C, 0x92, 0xE8, 0x95, 0x5C}));
  EXPECT_TRUE(exact);
}

TEST(Cp932Codec, Utf8ConversionHandlesMalformedInput) {
  EXPECT_EQ(cp932::Utf8ToUtf16("\xE3\x81"), u"\uFFFD\uFFFD");
  EXPECT_EQ(cp932::Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(cp932::Utf16ToUtf8(cp932::Utf8ToUtf16("😀あ")), "😀あ");
}

}  // namespace

namespace {

TEST(Cp932, AsciiCaseFoldingStepsOverDoubleByteCharacters) {
  struct Case {
    std::string a, b;
    int order;  // of a against b, case ignored
  };
  const Case cases[] = {
      {"Current_Dir", "CURRENT_dir", 0},
      {"\x83"
       "a",
       "\x83"
       "A",
       1},  // 'a' and 'A' here are trail bytes (ヂ and ア), not letters
      {"\x83"
       "ax",
       "\x83"
       "aX",
       0},
      {"a\x83", "A\x83", 0},  // a lead byte at the end stays as it is
      {"abc", "ABD", -1},
      {"ab", "ABC", -1},
      {"[", "a", 1},  // folded to upper case: '[' sorts after 'A'
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a + " / " + c.b);
    EXPECT_EQ(cp932::CompareIgnoreAsciiCase(c.a, c.b), c.order);
    EXPECT_EQ(cp932::CompareIgnoreAsciiCase(c.b, c.a), -c.order);
    EXPECT_EQ(cp932::EqualsIgnoreAsciiCase(c.a, c.b), c.order == 0);
    EXPECT_EQ(cp932::FoldAsciiCase(c.a) == cp932::FoldAsciiCase(c.b), c.order == 0);
  }
  EXPECT_EQ(cp932::FoldAsciiCase("Kvr\x83"
                                 "a.dat"),
            "KVR\x83"
            "a.DAT");
}

}  // namespace

TEST(Cp932Codec, NamesEachCharacterItCannotHoldOnce) {
  struct Case {
    const char* utf8;
    std::u32string missing;
  };
  const Case cases[] = {
      {"", U""},
      {"予定 abc ｱ ①", U""},
      // Characters outside the plane (a surrogate pair) count as one, repeats once, in order.
      {"A𠮷野家😀한글©é–—", U"𠮷😀한글©é–"},
      {"😀x😀", U"😀"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cp932::UnrepresentableUtf8(c.utf8), c.missing) << c.utf8;
    bool exact = true;
    const std::string bytes = cp932::FromUtf8(c.utf8, &exact);
    EXPECT_EQ(exact, c.missing.empty()) << c.utf8;
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '?') > 0, !c.missing.empty()) << c.utf8;
  }
  // A lone surrogate and a carried undecodable byte.
  EXPECT_EQ(cp932::Unrepresentable(u"a\xD800"
                                   u"b"),
            std::u32string(1, 0xD800));
  EXPECT_EQ(cp932::Unrepresentable(cp932::Decode(Bytes({0x80, 0xFF}))), U"");
}
