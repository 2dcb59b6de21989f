#include "settings/ini_store.h"

#include <gtest/gtest.h>

#include "test_support/temp_dir.h"

using test_support::Sjis;

namespace {

class IniStoreTest : public ::testing::Test {
 protected:
  std::filesystem::path File() const { return dir_.path() / "vuruva.ini"; }
  void Write(const std::string& bytes) { test_support::WriteBytes(File(), bytes); }
  std::string Read() const { return test_support::ReadBytes(File()); }
  test_support::TempDir dir_;
  settings::IniStore ini_{dir_.path() / "vuruva.ini"};
};

TEST_F(IniStoreTest, ReadsFilesWrittenTheWindowsWay) {
  Write(
      "; comment\r\n[Main]\r\nSpeed = 250 \r\n  Other=x\r\n[main]\r\nSpeed=1\r\n"
      "[" +
      Sjis("フォルダ移動") + "]\r\ncurrent_dir=\"abc\"\r\n");
  EXPECT_EQ(ini_.ReadInteger("MAIN", "speed", 0), 250);  // first section of the name wins
  EXPECT_EQ(ini_.ReadString("Main", "other", "d"), "x");
  EXPECT_EQ(ini_.ReadString(Sjis("フォルダ移動"), "Current_Dir", ""), "abc");
  EXPECT_EQ(ini_.ReadInteger("Main", "missing", 7), 7);
  EXPECT_EQ(ini_.ReadInteger("Nowhere", "Speed", 9), 9);
}

TEST_F(IniStoreTest, CaseFoldingNeverFoldsTrailBytes) {
  // ｿ is 0x83 0x5C and ソ 0x83 0x5C; 表 0x95 0x5C vs 0x95 0x7C: letters as trail bytes.
  std::string upper = std::string("\x83") + "A";  // a lead byte followed by 'A'
  std::string lower = std::string("\x83") + "a";
  Write("[" + upper + "]\r\nk=1\r\n");
  EXPECT_EQ(ini_.ReadInteger(upper, "K", 0), 1);
  EXPECT_EQ(ini_.ReadInteger(lower, "K", 0), 0);
}

TEST_F(IniStoreTest, BracketRule) {
  Write(
      "[s]\r\npair=\xA2\xA3\r\nquotes=\"\"\r\nbr=\xA2"
      "abc\xA3\r\nq=\"abc\"\r\nplain=abc\r\n"
      "half=\xA2"
      "abc\r\n");
  EXPECT_EQ(ini_.ReadString("s", "pair", "d"), "");
  EXPECT_EQ(ini_.ReadString("s", "quotes", "d"), "");
  EXPECT_EQ(ini_.ReadString("s", "br", "d"), "abc");
  EXPECT_EQ(ini_.ReadString("s", "q", "d"), "abc");
  EXPECT_EQ(ini_.ReadString("s", "plain", "d"), "abc");
  EXPECT_EQ(ini_.ReadString("s", "half", "d"),
            "\xA2"
            "abc");
  EXPECT_EQ(ini_.ReadString("s", "missing", "def"), "def");
  // A value ending in a kanji whose trail byte is 0xA3 keeps that kanji.
  std::string kanji = "\x88\xA3";  // 悪 is not it, but any lead + 0xA3 pair is a character
  Write("[s]\r\nk=\xA2" + kanji + "\r\n");
  EXPECT_EQ(ini_.ReadString("s", "k", ""), "\xA2" + kanji);
  ini_.WriteString("s", "k", "C:\\App\\" + Sjis("Myデータ"));
  EXPECT_EQ(Read(),
            "[s]\r\nk=\xA2"
            "C:\\App\\" +
                Sjis("Myデータ") + "\xA3\r\n");
  EXPECT_EQ(ini_.ReadString("s", "k", ""), "C:\\App\\" + Sjis("Myデータ"));
}

TEST_F(IniStoreTest, WritesChangeOnlyTheirLine) {
  const std::string original =
      "; written on Windows\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny = 2\r\nstrange line\r\n";
  Write(original);
  ini_.WriteInteger("a", "X", 1);  // the file's spelling of the key stays
  EXPECT_EQ(Read(), original);
  Write(original);
  ini_.WriteInteger("A", "z", 5);  // a new key goes to the end of its section
  EXPECT_EQ(Read(),
            "; written on Windows\r\n[A]\r\nx=1\r\nz=5\r\n\r\n[B]\r\ny = 2\r\nstrange line\r\n");
  ini_.WriteBool("C", "on", true);  // a new section goes to the end of the file
  EXPECT_EQ(Read(),
            "; written on Windows\r\n[A]\r\nx=1\r\nz=5\r\n\r\n[B]\r\ny = 2\r\nstrange line\r\n"
            "[C]\r\non=1\r\n");
  EXPECT_TRUE(ini_.ReadBool("C", "on", false));
  ini_.EraseSection("b");
  EXPECT_EQ(Read(), "; written on Windows\r\n[A]\r\nx=1\r\nz=5\r\n\r\n[C]\r\non=1\r\n");
}

TEST_F(IniStoreTest, UnchangedValueLeavesFileByteIdentical) {
  const std::string windows = "[" + Sjis("ミルネ") + "]\r\nwinpos.X=10\r\n[" +
                              Sjis("フォルダ移動") +
                              "]\r\nCurrent_Dir=\xA2"
                              "C:\\" +
                              Sjis("表") + "\xA3\r\n";
  Write(windows);
  std::string dir = ini_.ReadString(Sjis("フォルダ移動"), "Current_Dir", "");
  ini_.WriteString(Sjis("フォルダ移動"), "Current_Dir", dir);
  ini_.WriteInteger(Sjis("ミルネ"), "winpos.X", ini_.ReadInteger(Sjis("ミルネ"), "winpos.X", 0));
  EXPECT_EQ(Read(), windows);
}

TEST_F(IniStoreTest, FileWithoutFinalLineEndGrowsCleanly) {
  Write("[A]\r\nx=1");
  ini_.WriteInteger("A", "y", 2);
  EXPECT_EQ(Read(), "[A]\r\nx=1\r\ny=2\r\n");
  Write("[A]\r\nx=1");
  ini_.WriteInteger("B", "y", 2);
  EXPECT_EQ(Read(), "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
}

TEST_F(IniStoreTest, SnapshotReadsTheFileAsItWasUntilAWrite) {
  Write("[a]\r\nx=1\r\n");
  {
    settings::IniSnapshot once(ini_);
    Write("[a]\r\nx=2\r\n");
    EXPECT_EQ(ini_.ReadInteger("a", "x", 0), 1);
    ini_.WriteInteger("a", "y", 3);  // writes go to the file and end the snapshot
    EXPECT_EQ(ini_.ReadInteger("a", "x", 0), 2);
    EXPECT_EQ(ini_.ReadInteger("a", "y", 0), 3);
  }
  Write("[a]\r\nx=4\r\n");
  EXPECT_EQ(ini_.ReadInteger("a", "x", 0), 4);
}

TEST_F(IniStoreTest, IntegersAndBooleans) {
  Write("[n]\r\nhex=$FF\r\nox=0x10\r\nbad=12a\r\nneg=-3\r\nsys=$80000005\r\nempty=\r\nb=2\r\n");
  EXPECT_EQ(ini_.ReadInteger("n", "hex", 0), 255);
  EXPECT_EQ(ini_.ReadInteger("n", "ox", 0), 16);
  EXPECT_EQ(ini_.ReadInteger("n", "bad", 4), 4);
  EXPECT_EQ(ini_.ReadInteger("n", "neg", 0), -3);
  EXPECT_EQ(ini_.ReadInteger("n", "sys", 0), static_cast<int32_t>(0x80000005u));
  EXPECT_EQ(ini_.ReadInteger("n", "empty", 6), 6);
  EXPECT_TRUE(ini_.ReadBool("n", "b", false));
}

// The ways a settings file reaches us: written by Windows (CR LF), by an editor that writes
// LF only, or with the last line left unterminated. All are code page 932 without a BOM.
struct Layout {
  const char* name;
  const char* eol;
  bool last_terminated;
};
constexpr Layout kLayouts[] = {
    {"CR LF", "\r\n", true}, {"LF", "\n", true}, {"unterminated", "\r\n", false}};

std::string Lines(const Layout& layout, std::initializer_list<std::string> lines) {
  std::string bytes;
  size_t n = 0;
  for (const std::string& line : lines) {
    bytes += line;
    if (++n < lines.size() || layout.last_terminated) bytes += layout.eol;
  }
  return bytes;
}

TEST_F(IniStoreTest, TrailBytesThatLookLikeBracketsOrBackslashesBelongToTheirCharacter) {
  // 余 is 0x97 0x5D (']'), ー is 0x81 0x5B ('['), ソ is 0x83 0x5C ('\').
  for (const Layout& layout : kLayouts) {
    for (const char* name : {"余白", "予定余", "ーの行", "ソフト"}) {
      SCOPED_TRACE(std::string(layout.name) + " " + name);
      const std::string section = Sjis(name), key = Sjis(name) + "Key";
      Write(Lines(layout, {"[" + section + "]", key + "=1", "[" + Sjis("余") + "x]", "k=2"}));
      EXPECT_EQ(ini_.ReadInteger(section, key, 0), 1);
      EXPECT_EQ(ini_.ReadInteger(Sjis("余") + "X", "K", 0), 2);
      ini_.WriteInteger(section, key, 3);  // edits the line, makes no second section
      ini_.WriteInteger(section, "new", 4);
      EXPECT_EQ(Read(), Lines(layout, {"[" + section + "]", key + "=3"}) +
                            (layout.last_terminated ? "" : layout.eol) + "new=4\r\n" +
                            Lines(layout, {"[" + Sjis("余") + "x]", "k=2"}));
    }
  }
}

TEST_F(IniStoreTest, BlanksAroundNamesAndValuesAreSpaceTabAndVerticalTab) {
  const std::string ideographic = Sjis("　");  // 0x81 0x40
  for (const Layout& layout : kLayouts) {
    SCOPED_TRACE(layout.name);
    Write(Lines(layout, {" \t[\v" + Sjis("六曜表示") + " \t]\v", "\v Rokuyou \t=\v 1 \t",
                         ideographic + "Speed=5", "Name=" + ideographic + "a" + ideographic}));
    EXPECT_EQ(ini_.ReadInteger(Sjis("六曜表示"), "rokuyou", 0), 1);
    EXPECT_EQ(ini_.ReadInteger(Sjis("六曜表示"), "Speed", 0), 0);  // the key is "　Speed"
    EXPECT_EQ(ini_.ReadInteger(Sjis("六曜表示"), ideographic + "Speed", 0), 5);
    EXPECT_EQ(ini_.ReadString(Sjis("六曜表示"), "name", ""), ideographic + "a" + ideographic);
  }
}

TEST_F(IniStoreTest, WritingAKeyOfAnotherCaseEditsItsLineInPlace) {
  struct Case {
    std::string before, after;
  };
  const Case cases[] = {
      {"[Main]\r\nSpeed=1\r\n[B]\r\n", "[Main]\r\nSpeed=2\r\n[B]\r\n"},
      {"[Main]\nSpeed=1\n[B]\n", "[Main]\nSpeed=2\n[B]\n"},
      {"[Main]\r\nSpeed=1", "[Main]\r\nSpeed=2\r\n"},  // the unterminated last line
      {"[Main]\nSpeed=1", "[Main]\nSpeed=2\r\n"},
      {"[Main]\r\n\t SpEeD \t= 1 ; x\r\n", "[Main]\r\n\t SpEeD=2\r\n"},
      {"[main]\r\n speed=1\r\n", "[main]\r\n speed=2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    Write(c.before);
    ini_.WriteInteger("MAIN", "SPEED", 2);
    EXPECT_EQ(Read(), c.after);
  }
}

TEST_F(IniStoreTest, NewKeyFollowsTheLastKeyOfItsSection) {
  struct Case {
    std::string before, after;
  };
  const Case cases[] = {
      {"[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n",
       "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
      {"[A]\nx=1\n\n; c\n", "[A]\nx=1\nz=3\r\n\n; c\n"},
      {"[A]\r\n; only a comment\r\n\r\n", "[A]\r\nz=3\r\n; only a comment\r\n\r\n"},
      {"[A]\r\nx=1\r\nstrange line\r\n", "[A]\r\nx=1\r\nz=3\r\nstrange line\r\n"},
      {"[A]\r\nx=1\r\n; c", "[A]\r\nx=1\r\nz=3\r\n; c"},
      {"[A]", "[A]\r\nz=3\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    Write(c.before);
    ini_.WriteInteger("a", "z", 3);
    EXPECT_EQ(Read(), c.after);
  }
}

TEST_F(IniStoreTest, SchemaKeysReadAndWriteByType) {
  namespace keys = settings::keys;
  EXPECT_EQ(ini_.ReadInteger(keys::Speed), 400);
  EXPECT_EQ(ini_.ReadColour(keys::TollbarLastColor), 0x00808080u);
  ini_.WriteBool(keys::Kakugen, true);
  ini_.WriteColour(keys::Memo1Color, 0x80000005u);
  ini_.WriteString(keys::CurrentDir, "C:\\" + Sjis("表"));
  EXPECT_EQ(Read(), Sjis("[格言ON/OFF]\r\nKakugen=1\r\n[入力ダイアログ内色]\r\n") +
                        "Memo1Color=-2147483643\r\n" + Sjis("[フォルダ移動]\r\n") +
                        "Current_Dir=\xA2" + "C:\\" + Sjis("表") + "\xA3\r\n");
  EXPECT_TRUE(ini_.ReadBool(keys::Kakugen, false));
  EXPECT_EQ(ini_.ReadColour(keys::Memo1Color, 0), 0x80000005u);
  EXPECT_EQ(ini_.ReadString(keys::CurrentDir), "C:\\" + Sjis("表"));
}

}  // namespace
