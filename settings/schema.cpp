#include "settings/schema.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "platform/cp932.h"

namespace settings {
namespace {

using namespace keys;

constexpr auto kAll = std::to_array<const Key*>({
    &MainPlacement,
    &ToolBar,
    &CursorWidePosition,
    &CursorWide,
    &HalfMonth,
    &TodayColor,
    &CursorColor,
    &GridColor,
    &FixedGridColor,
    &Syu2Color,
    &Syu1Color,
    &SiteiColor,
    &RestDay[0],
    &RestDay[1],
    &RestDay[2],
    &RestDay[3],
    &RestDay[4],
    &RestDay[5],
    &RestDay[6],
    &SyukuColor,
    &SyukukyuColor,
    &Rokuyou,
    &Kakugen,
    &DaysFont,
    &YoteiFont,
    &TaitolFont,
    &InputTaitolFont,
    &TaitolFontColor,
    &FixedColWidth1,
    &FixedColWidth2,
    &RowHeight1,
    &RowHeight2,
    &CloseArc,
    &CalendarOnOff,
    &SingleDouble,
    &InputKeyClose,
    &CurrentDir,
    &HolidayRules,
    &LunarMethod,
    &TaitolTopColor,
    &TaitolLastColor,
    &TollbarTopColor,
    &TollbarLastColor,
    &Speed,
    &KakuGenFile,
    &MarqueeLabelFont,
    &MarqueeWordColor,
    &MarqueeLabelColor,
    &LauncherFile,
    &LauncherExe,
    &EntryPlacement,
    &Splitter1Left,
    &Memo1Width,
    &Memo3Height,
    &MemoFont,
    &Memo3Font,
    &ListBoxFont,
    &Memo1Color,
    &Memo3Color,
    &ListBoxColor,
    &InputTitleToday,
    &InputTitleOther,
    &BirthdaySuffix,
    &CalendarPlacement,
    &CalendarFont,
    &SearchCheck,
    &ClockPlacement,
    &ClockFont,
    &ClockColor,
    &ClockBackColor,
    &DateColor,
    &DateBackColor,
    &Alarm0,
    &Alarm1,
    &Alarm2,
    &AlarmSound,
    &AlarmNotify,
    &MissedAlarm,
    &SyncUrl,
    &SyncUser,
    &SyncCalendar,
    &SyncAtStart,
    &SyncAtExit,
    &SyncInterval,
    &SyncLast,
});

constexpr std::string_view kFontParts[] = {".Name", ".Size", ".Style"};
constexpr std::string_view kPlacementParts[] = {".Flags", ".MaxX", ".MaxY",  ".Show",
                                                ".X",     ".Y",    ".XSize", ".YSize"};

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Matches a name of the file against a pattern of the table, whose '#' stands for a button
// number 1 to 10. *number is that number, and must agree when it was set by the section.
bool Matches(std::string_view pattern, std::string_view text, int* number) {
  size_t hash = pattern.find('#');
  if (hash == std::string_view::npos) return cp932::EqualsIgnoreAsciiCase(pattern, text);
  std::string_view head = pattern.substr(0, hash), tail = pattern.substr(hash + 1);
  if (text.size() <= head.size() + tail.size()) return false;
  if (!cp932::EqualsIgnoreAsciiCase(head, text.substr(0, head.size())) ||
      !cp932::EqualsIgnoreAsciiCase(tail, text.substr(text.size() - tail.size()))) {
    return false;
  }
  std::string_view digits = text.substr(head.size(), text.size() - head.size() - tail.size());
  int n = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (error != std::errc() || end != digits.data() + digits.size() || digits[0] == '0' || n < 1 ||
      n > 10) {
    return false;
  }
  if (*number != 0 && *number != n) return false;
  *number = n;
  return true;
}

}  // namespace

std::span<const Key* const> AllKeys() {
  return kAll;
}

std::string SectionBytes(const Key& key) {
  return cp932::FromUtf8(key.section);
}

namespace {

// Every key's section in code page 932, converted once: FindKey runs for each key line of a
// settings file, and converting all the sections again for every line was most of its time.
const std::array<std::string, kAll.size()>& SectionsBytes() {
  static const std::array<std::string, kAll.size()> sections = [] {
    std::array<std::string, kAll.size()> bytes;
    for (size_t i = 0; i < kAll.size(); ++i) bytes[i] = SectionBytes(*kAll[i]);
    return bytes;
  }();
  return sections;
}

}  // namespace

std::string Numbered(std::string_view pattern, int n) {
  std::string text = cp932::FromUtf8(pattern);
  size_t hash = text.find('#');
  if (hash != std::string::npos) text.replace(hash, 1, std::to_string(n));
  return text;
}

std::optional<KnownKey> FindKey(std::string_view section_cp932, std::string_view name_cp932) {
  section_cp932 = Trim(section_cp932);
  name_cp932 = Trim(name_cp932);
  const auto& sections = SectionsBytes();
  for (size_t i = 0; i < kAll.size(); ++i) {
    const Key* key = kAll[i];
    int number = 0;
    if (!Matches(sections[i], section_cp932, &number)) continue;
    const std::string_view pattern = Trim(key->name);
    if (Matches(pattern, name_cp932, &number)) return KnownKey{key, key->type};
    if (key->type != ValueType::kFont && key->type != ValueType::kPlacement) continue;
    if (name_cp932.size() <= pattern.size() ||
        !cp932::EqualsIgnoreAsciiCase(pattern, name_cp932.substr(0, pattern.size()))) {
      continue;
    }
    std::string_view part = name_cp932.substr(pattern.size());
    auto is_part = [&](std::string_view p) { return cp932::EqualsIgnoreAsciiCase(p, part); };
    if (key->type == ValueType::kFont && std::ranges::any_of(kFontParts, is_part)) {
      return KnownKey{key, is_part(".Name") ? ValueType::kString : ValueType::kInteger, part};
    }
    if (key->type == ValueType::kPlacement && std::ranges::any_of(kPlacementParts, is_part)) {
      return KnownKey{key, ValueType::kInteger, part};
    }
  }
  return std::nullopt;
}

bool IsFontSizePart(const KnownKey& known) {
  return known.key->type == ValueType::kFont && cp932::EqualsIgnoreAsciiCase(known.part, ".Size");
}

bool Accepts(const Key& key, std::int32_t value) {
  if (key.type == ValueType::kColour) {
    const auto bits = static_cast<std::uint32_t>(value);
    return bits <= 0x00FFFFFFu || (bits >= 0x80000000u && bits <= 0x800000FFu);
  }
  if (key.type == ValueType::kBoolean) return value == 0 || value == 1;
  if (value < key.min || value > key.max) return false;
  if (key.choices == 0) return true;
  return value >= 0 && value < 32 && (key.choices >> value & 1u) != 0;
}

}  // namespace settings
