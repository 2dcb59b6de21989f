// How the archiver splits its unquoted command lines into the archive and the files.
#include <gtest/gtest.h>

#include <set>

#include "archive/unlha_command_line.h"

namespace archive {
namespace {

UnlhaCommandLine Parse(const std::string& text, std::set<std::string> existing = {}) {
  std::string why;
  auto line = ParseUnlhaCommandLine(
      text, [&](const std::string& name) { return existing.count(name) > 0; }, &why);
  EXPECT_TRUE(line.has_value()) << text << ": " << why;
  return line.value_or(UnlhaCommandLine());
}

TEST(UnlhaCommandLine, UpdateWithLineBreaksAndBlanks) {
  // The program's form: every file followed by CR LF, paths with blanks unquoted.
  UnlhaCommandLine a = Parse(
      "U /d/My Data/1999.LZH /d/My Data/1999/KVR19990101.dat\r\n"
      "/d/My Data/1999/KVR19990102.dat\r\n",
      {"/d/My Data/1999/KVR19990101.dat", "/d/My Data/1999/KVR19990102.dat"});
  EXPECT_EQ(a.command, 'U');
  EXPECT_EQ(a.archive, "/d/My Data/1999.LZH");
  EXPECT_EQ(a.files, (std::vector<std::string>{"/d/My Data/1999/KVR19990101.dat",
                                               "/d/My Data/1999/KVR19990102.dat"}));
  // Names separated by blanks on one line; a blank inside a name is kept when that file exists.
  UnlhaCommandLine b = Parse("u arc.lzh a.dat my day.dat b.dat", {"a.dat", "my day.dat", "b.dat"});
  EXPECT_EQ(b.files, (std::vector<std::string>{"a.dat", "my day.dat", "b.dat"}));
  // Quotes are honoured; an archive without the .lzh ending is the first word.
  UnlhaCommandLine c = Parse("U \"x y.arc\" \"odd name\" plain");
  EXPECT_EQ(c.archive, "x y.arc");
  EXPECT_EQ(c.files, (std::vector<std::string>{"odd name", "plain"}));
  UnlhaCommandLine d = Parse("U backup a.dat");
  EXPECT_EQ(d.archive, "backup");
  EXPECT_EQ(d.files, std::vector<std::string>{"a.dat"});
  // Nothing after the archive (an empty folder at exit) is an update with no files.
  UnlhaCommandLine e = Parse("U /d/1999.LZH ");
  EXPECT_EQ(e.archive, "/d/1999.LZH");
  EXPECT_TRUE(e.files.empty());
  // A name that exists nowhere is still passed on, one word at a time, to be reported.
  UnlhaCommandLine f = Parse("U a.lzh gone file\r\n");
  EXPECT_EQ(f.files, (std::vector<std::string>{"gone", "file"}));
  // An unquoted name ends on its own line: a listed file ending in ".lzh" is no part of it.
  UnlhaCommandLine g = Parse("U backup a.dat\r\nold.lzh\r\n", {"a.dat", "old.lzh"});
  EXPECT_EQ(g.archive, "backup");
  EXPECT_EQ(g.files, (std::vector<std::string>{"a.dat", "old.lzh"}));
  // The callers' form: the archive always quoted, whatever it holds.
  UnlhaCommandLine h = Parse("U \"/d/old.zip files/-2026.lzh\" /d/x.dat\r\n", {"/d/x.dat"});
  EXPECT_EQ(h.archive, "/d/old.zip files/-2026.lzh");
  EXPECT_EQ(h.files, std::vector<std::string>{"/d/x.dat"});
}

TEST(UnlhaCommandLine, ExtractAndList) {
  UnlhaCommandLine x = Parse("X -c1 /home/u/My Data/2001 backup.LZH");
  EXPECT_EQ(x.command, 'X');
  EXPECT_TRUE(x.overwrite);
  EXPECT_EQ(x.archive, "/home/u/My Data/2001 backup.LZH");
  EXPECT_FALSE(Parse("x old.lzh").overwrite);
  EXPECT_EQ(Parse("L \"a b.lzh\"").archive, "a b.lzh");
}

TEST(UnlhaCommandLine, RefusesWhatItDoesNotKnow) {
  auto fails = [](const std::string& text) {
    std::string why;
    return !ParseUnlhaCommandLine(
               text, [](const std::string&) { return false; }, &why) &&
           !why.empty();
  };
  EXPECT_TRUE(fails(""));
  EXPECT_TRUE(fails("D a.lzh x"));        // no delete command
  EXPECT_TRUE(fails("X -r a.lzh"));       // unknown switch
  EXPECT_TRUE(fails("X -c1"));            // no archive
  EXPECT_TRUE(fails("X a.lzh\r\nmore"));  // extraction takes no file list
  EXPECT_TRUE(fails("U \"open.lzh a"));
}

}  // namespace
}  // namespace archive
