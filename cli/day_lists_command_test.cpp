// mirune-cli birthdays / specialdays, run as a user would in a folder of the test's own.
#include <gtest/gtest.h>

#include "test_support/run_cli.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

class SpecialListsCliTest : public ::testing::Test {
 protected:
  SpecialListsCliTest() { fs::create_directory(dir_.path() / "d"); }
  test_support::CliResult Run(const std::string& args) {
    return test_support::RunCli(dir_.path(), args);
  }
  test_support::TempDir dir_;
};

TEST_F(SpecialListsCliTest, BirthdaysWriteStampsTheAgeOfTheYear) {
  WriteBytes(dir_.path() / "Birthday.dat", Sjis("1970/03/05/山田\r\n"));
  const fs::path day = dir_.path() / "d" / "2026" / "KVR20260305.dat";
  EXPECT_EQ(Run("--data d birthdays write 2026").status, 0);
  EXPECT_EQ(ReadBytes(day), Sjis("山田の誕生日(56歳)") + "\r\n");
  // Twice is once; the suffix the settings chose is used.
  EXPECT_EQ(Run("--data d birthdays write 2026").status, 0);
  EXPECT_EQ(ReadBytes(day), Sjis("山田の誕生日(56歳)") + "\r\n");
  EXPECT_EQ(Run("config set 誰々の誕生日 \"Who'sbirthday\" 1").status, 0);
  EXPECT_EQ(Run("--data d birthdays write 2026").status, 0);
  EXPECT_EQ(ReadBytes(day), Sjis("山田のBirthday(56歳)\r\n山田の誕生日(56歳)") + "\r\n");
  EXPECT_EQ(Run("birthdays list").out, "1970/03/05/山田\n");
}

TEST_F(SpecialListsCliTest, SpecialDaysFromAnotherFolderAndBadInput) {
  fs::create_directories(dir_.path() / "lists");
  WriteBytes(dir_.path() / "lists" / "Specialday.dat",
             Sjis("12/24/クリスマス・イブ\r\n01/xx/壊れた行\r\n"));
  test_support::CliResult r = Run("--data d specialdays write 2026 --lists lists");
  // The broken line stops the write with one message; the line before it is written.
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.out.find("mirune-cli: "), std::string::npos);
  EXPECT_EQ(ReadBytes(dir_.path() / "d" / "2026" / "KVR20261224.dat"),
            Sjis("クリスマス・イブ") + "\r\n");
  EXPECT_EQ(Run("specialdays list --lists lists").out, "12/24/クリスマス・イブ\n01/xx/壊れた行\n");
  for (const char* args :
       {"birthdays", "birthdays write", "birthdays write 26", "birthdays write 2026 x",
        "specialdays show", "birthdays list --lists"}) {
    EXPECT_EQ(Run(std::string("--data d ") + args).status, 2) << args;
  }
  // No list file is an empty list: nothing written, and the user is told where it was looked for.
  r = Run("--data d birthdays write 2027");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Birthday.dat"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_.path() / "d" / "2027"));
}

}  // namespace
