#include "platform/desktop_entry.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(DesktopEntryTest, ExecLinesBecomeTheArgumentsTheDesktopWouldPass) {
  struct Case {
    const char* exec;
    Words expected;
  };
  const Case cases[] = {
      {"gedit %U", {"gedit"}},
      {"/opt/My App/run --flag %f", {"/opt/My", "App/run", "--flag"}},  // blanks split
      {"\"/opt/My App/run\" --flag %F", {"/opt/My App/run", "--flag"}},
      {"sh -c \"echo \\\"hi\\\" \\$HOME\"", {"sh", "-c", "echo \"hi\" $HOME"}},
      {"app --name=%c --desk %k", {"app", "--name=メモ帳 ミルネ", "--desk", "/x/a.desktop"}},
      {"app %i 100%%", {"app", "--icon", "accessories-text-editor", "100%"}},
      {"app\t-a   -b", {"app", "-a", "-b"}},
      {"\"unterminated", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    const std::string text = std::string(
                                 "[Desktop Entry]\nType=Application\nName=メモ帳 ミルネ\n"
                                 "Icon=accessories-text-editor\nExec=") +
                             c.exec + "\n";
    auto entry = platform::DesktopEntry::Parse(text);
    ASSERT_TRUE(entry) << c.exec;
    EXPECT_EQ(entry->ExecArguments("/x/a.desktop"), c.expected) << c.exec;
  }
}

TEST(DesktopEntryTest, OnlyTheDesktopEntryGroupCountsAndEscapesAreResolved) {
  auto entry = platform::DesktopEntry::Parse(
      "# comment\n[Other]\nExec=wrong\n\n[Desktop Entry]\r\nType = Application\r\n"
      "Name[ja]=日本語名\nName=Plain\\sname\nExec=right\nTerminal=true\nExec=second\n"
      "[Desktop Action new]\nExec=action\n");
  ASSERT_TRUE(entry);
  EXPECT_TRUE(entry->IsApplication());
  EXPECT_TRUE(entry->Terminal());
  EXPECT_EQ(entry->Value("Name"), "Plain name");
  EXPECT_EQ(entry->Value("Name[ja]"), "日本語名");
  EXPECT_EQ(entry->ExecArguments(""), Words{"right"});
  EXPECT_EQ(entry->Value("Missing"), "");

  EXPECT_FALSE(platform::DesktopEntry::Parse("[Other]\nExec=x\n"));
  EXPECT_FALSE(platform::DesktopEntry::Parse(std::string("\x89PNG\r\n\x1a\n", 8)));
}

}  // namespace
