#include "settings/schema.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/cp932.h"
#include "settings/ini_store.h"
#include "settings/settings_location.h"
#include "test_support/temp_dir.h"

using test_support::Sjis;

namespace {

namespace keys = settings::keys;
using settings::ValueType;

TEST(Schema, EveryKeyIsListedOnceAndFoundUnderItsOwnName) {
  std::set<std::pair<std::string, std::string>> seen;
  for (const settings::Key* key : settings::AllKeys()) {
    SCOPED_TRACE(std::string(key->section) + " " + std::string(key->name));
    bool exact = true;
    const std::string section = cp932::FromUtf8(key->section, &exact);
    EXPECT_TRUE(exact);  // a section that code page 932 cannot hold could never be found
    EXPECT_TRUE(
        seen.insert({cp932::FoldAsciiCase(section), cp932::FoldAsciiCase(key->name)}).second);
    std::string name(key->name);
    if (section.find('#') != std::string::npos) {
      std::optional<settings::KnownKey> numbered =
          settings::FindKey(settings::Numbered(key->section, 7), settings::Numbered(key->name, 7));
      ASSERT_TRUE(numbered);
      EXPECT_EQ(numbered->key, key);
      continue;
    }
    std::optional<settings::KnownKey> found = settings::FindKey(section, name);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->key, key);
    EXPECT_EQ(found->type, key->type);
    if (key->type == ValueType::kBoolean || key->choices != 0 || key->min != INT32_MIN) {
      EXPECT_TRUE(settings::Accepts(*key, key->default_value));
    }
  }
}

TEST(Schema, FindsKeysAsTheFileComparesThem) {
  struct Case {
    const char* section;
    const char* name;
    const settings::Key* key;  // nullptr: not a key of the program
    ValueType type;
  };
  const Case cases[] = {
      {"六曜表示", "ROKUYOU", &keys::Rokuyou, ValueType::kInteger},
      {" 固定グリッド2幅 ", "2FixedColWidth", &keys::FixedColWidth2, ValueType::kInteger},
      {"各曜日枠フォント", "daysfont.NAME", &keys::DaysFont, ValueType::kString},
      {"各曜日枠フォント", "daysFont.Style", &keys::DaysFont, ValueType::kInteger},
      {"各曜日枠フォント", "daysFont", &keys::DaysFont, ValueType::kFont},
      {"各曜日枠フォント", "daysFont.Colour", nullptr, {}},
      {"ミルネ", "winpos.YSize", &keys::MainPlacement, ValueType::kInteger},
      {"カ－ソル色", "cursorcolor", &keys::CursorColor, ValueType::kColour},
      {"カーソル色", "cursorcolor", nullptr, {}},  // the long-vowel mark is another section
      {"User Software10の設定", "software10.EXE", &keys::LauncherExe, ValueType::kString},
      {"User Software3の設定", "Software4", nullptr, {}},
      {"User Software11の設定", "Software11", nullptr, {}},
      {"User Software03の設定", "Software03", nullptr, {}},
      {"ｱﾗ-ﾑｻｳﾝﾄﾞ", "alarmsound", &keys::AlarmSound, ValueType::kString},
      {"六曜表示", "Rokuyou2", nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " " + c.name);
    std::optional<settings::KnownKey> found = settings::FindKey(Sjis(c.section), c.name);
    ASSERT_EQ(found.has_value(), c.key != nullptr);
    if (!found) continue;
    EXPECT_EQ(found->key, c.key);
    EXPECT_EQ(found->type, c.type);
  }
}

TEST(Schema, AcceptsWhatTheProgramTakes) {
  struct Case {
    const settings::Key* key;
    std::int32_t value;
    bool accepted;
  };
  const Case cases[] = {
      {&keys::Rokuyou, 1, true},
      {&keys::Rokuyou, 2, false},
      {&keys::Kakugen, -1, false},
      {&keys::InputKeyClose, 13, true},
      {&keys::InputKeyClose, 17, true},
      {&keys::InputKeyClose, 5, false},
      {&keys::InputKeyClose, 18, false},
      {&keys::TodayColor, 0x00FFFFFF, true},
      {&keys::TodayColor, 0x01000000, false},
      {&keys::TodayColor, -1, false},
      {&keys::Memo1Color, static_cast<std::int32_t>(0x80000005u), true},
      {&keys::Speed, 99, false},
      {&keys::Speed, 10000, true},
      {&keys::Splitter1Left, -5, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settings::Accepts(*c.key, c.value), c.accepted) << c.key->name << " " << c.value;
  }
}

TEST(DataFolderSetting, RefusesAFolderCodePage932CannotHold) {
  test_support::TempDir dir;
  settings::IniStore ini(dir.path() / "v.ini");
  const std::filesystem::path folder = dir.path() / "Myデータ";
  EXPECT_TRUE(settings::WriteDataFolderSetting(ini, folder));
  EXPECT_EQ(settings::ReadDataFolderSetting(ini), folder);
  const std::string before = test_support::ReadBytes(ini.Path());
  EXPECT_FALSE(settings::WriteDataFolderSetting(ini, dir.path() / "한국어"));
  EXPECT_EQ(test_support::ReadBytes(ini.Path()), before);
  EXPECT_EQ(settings::ReadDataFolderSetting(ini), folder);
}

}  // namespace
