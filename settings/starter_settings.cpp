#include "settings/starter_settings.h"

#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "settings/settings_location.h"

namespace fs = std::filesystem;

namespace settings {
namespace {

using namespace keys;

struct Entry {
  const Key* key;
  std::string value;  // as the file holds it
};

Entry Number(const Key& key, std::int32_t value) {
  return {&key, std::to_string(value)};
}
Entry Designed(const Key& key) {
  return Number(key, key.default_value);
}

std::vector<Entry> StarterEntries(const fs::path& maxims_file) {
  // The week: Sunday red and Saturday blue, which is the "日曜日のみ" choice; "週休２日" would
  // draw Saturday red as well. The whole group is written, as the options dialog writes it.
  std::vector<Entry> entries = {Number(Syu1Color, 1), Number(Syu2Color, 0), Number(SiteiColor, 0)};
  for (const Key& day : RestDay) entries.push_back(Number(day, 0));
  entries.push_back(Number(SyukuColor, 1));
  entries.push_back(Number(SyukukyuColor, 1));
  entries.push_back(Number(Rokuyou, 1));
  entries.push_back(Number(BirthdaySuffix, 0));  // "の誕生日"
  // The colours the windows are designed with, so that the options dialog shows them as they
  // are drawn.
  for (const Key* key :
       {&TodayColor, &CursorColor, &GridColor, &FixedGridColor, &TaitolFontColor, &TaitolTopColor,
        &TaitolLastColor, &TollbarTopColor, &TollbarLastColor, &Memo1Color, &Memo3Color,
        &ListBoxColor, &InputTitleToday, &InputTitleOther}) {
    entries.push_back(Designed(*key));
  }
  // Yellow maxims on black, which is what the status line makes of two missing colours.
  entries.push_back(Number(MarqueeWordColor, 0x00FFFF));
  entries.push_back(Number(MarqueeLabelColor, 0));
  entries.push_back(Designed(Speed));
  if (!maxims_file.empty()) {
    // A name that code page 932 cannot hold would name some other file.
    bool exact = true;
    const std::string maxims = platform::Cp932FromPath(maxims_file, &exact);
    if (exact) {
      entries.push_back({&KakuGenFile, IniStore::kOpenBracket + maxims + IniStore::kCloseBracket});
    }
  }
  return entries;
}

}  // namespace

bool IsFirstStart(const fs::path& ini_path, const fs::path& startup_dir) {
  std::error_code ec;
  return !fs::exists(ini_path, ec) && !fs::is_regular_file(startup_dir / kOldSettingsFileName, ec);
}

std::string StarterSettingsText(const fs::path& maxims_file) {
  // Keys of one section stand together under it, in the order they come, as writing them one
  // by one would leave them.
  std::vector<std::pair<std::string, std::string>> sections;
  for (const Entry& entry : StarterEntries(maxims_file)) {
    const std::string section = SectionBytes(*entry.key);
    auto it = sections.begin();
    while (it != sections.end() && it->first != section) ++it;
    if (it == sections.end()) it = sections.insert(sections.end(), {section, {}});
    it->second += std::string(entry.key->name) + "=" + entry.value + "\r\n";
  }
  std::string text;
  for (const auto& [section, lines] : sections) text += "[" + section + "]\r\n" + lines;
  return text;
}

bool WriteStarterSettings(IniStore& ini, const fs::path& startup_dir, const fs::path& maxims_file) {
  if (!IsFirstStart(ini.Path(), startup_dir)) return false;
  std::error_code error;
  if (!platform::ReplaceFile(ini.Path(), StarterSettingsText(maxims_file), error)) {
    throw std::system_error(error, "cannot write " + ini.Path().string());
  }
  return true;
}

}  // namespace settings
