#include "settings/starter_settings.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "settings/settings_location.h"
#include "test_support/temp_dir.h"

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::Sjis;
using test_support::WriteBytes;

namespace {

namespace keys = settings::keys;

class StarterSettingsTest : public ::testing::Test {
 protected:
  fs::path Ini() const { return dir_.path() / "vuruva.ini"; }
  test_support::TempDir dir_;
};

TEST_F(StarterSettingsTest, FirstStartGetsAJapaneseCalendarAndTheMaxims) {
  settings::IniStore ini(Ini());
  const fs::path maxims = dir_.path() / "格言" / "kakugen.txt";
  ASSERT_TRUE(settings::WriteStarterSettings(ini, dir_.path(), maxims));
  struct Expect {
    const settings::Key& key;
    int value;
  } expected[] = {
      {keys::SyukuColor, 1},
      {keys::SyukukyuColor, 1},
      {keys::Rokuyou, 1},
      {keys::Syu1Color, 1},
      {keys::Syu2Color, 0},
      {keys::SiteiColor, 0},
      {keys::BirthdaySuffix, 0},
      {keys::RestDay[6], 0},
      {keys::Speed, 400},
      {keys::TodayColor, keys::TodayColor.default_value},
      {keys::Memo1Color, keys::kSystemWindowColour},
      {keys::MarqueeWordColor, 0x00FFFF},
  };
  for (const Expect& e : expected) {
    // Read with a default no key has, so that only the file can give the value.
    EXPECT_EQ(ini.ReadInteger(e.key, 12345), e.value) << e.key.name;
  }
  EXPECT_EQ(platform::PathFromCp932(ini.ReadString(keys::KakuGenFile)), maxims);
  // The keys stand as writing them one by one leaves them: writing them again changes nothing.
  const std::string text = ReadBytes(Ini());
  for (const Expect& e : expected) ini.WriteInteger(e.key, e.value);
  ini.WriteString(keys::KakuGenFile, Sjis(maxims.string()));
  EXPECT_EQ(ReadBytes(Ini()), text);
  // Only once: the file exists now.
  EXPECT_FALSE(settings::WriteStarterSettings(ini, dir_.path(), {}));
  EXPECT_EQ(ReadBytes(Ini()), text);
}

TEST_F(StarterSettingsTest, ExistingOrOlderFilesAreLeftAlone) {
  settings::IniStore ini(Ini());
  WriteBytes(Ini(), "");
  EXPECT_FALSE(settings::WriteStarterSettings(ini, dir_.path(), {}));
  EXPECT_EQ(ReadBytes(Ini()), "");
  fs::remove(Ini());
  // An older settings file is about to be taken over under the new name.
  WriteBytes(dir_.path() / settings::kOldSettingsFileName, "[a]\r\nb=1\r\n");
  EXPECT_FALSE(settings::WriteStarterSettings(ini, dir_.path(), {}));
  EXPECT_FALSE(fs::exists(Ini()));
  // No maxims file, or one whose name code page 932 cannot hold: no such key at all.
  fs::remove(dir_.path() / settings::kOldSettingsFileName);
  ASSERT_TRUE(settings::WriteStarterSettings(ini, dir_.path(), dir_.path() / "한국어.txt"));
  EXPECT_EQ(ini.ReadValue(settings::SectionBytes(keys::KakuGenFile), "KakuGenFile"), std::nullopt);
  EXPECT_EQ(ini.ReadInteger(keys::Rokuyou, 0), 1);
}

}  // namespace
