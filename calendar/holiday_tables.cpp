#include "calendar/holiday_tables.h"

#include <vector>

#include "platform/cp932.h"

namespace calendar {
namespace {

// Source text is UTF-8; the tables hand out code page 932, converted once.
struct HolidayNames {
  const char* grid;
  const char* writer;
  const char* window;
};

constexpr HolidayNames kNames[kHolidayEntryCount + 1] = {
    {"元旦", "元旦", "元旦"},
    {"成人の日", "成人の日", "成人の日"},
    {"建国記念の日", "建国記念の日", "建国の日"},
    {"春分の日", "春分の日", "春分の日"},
    {"緑の日", "みどりの日", "みどりの日"},
    {"憲法記念日", "憲法記念日", "憲法記念日"},
    {"国民の休日", "国民の休日", "国民の休日"},
    {"子供の日", "こどもの日", "こどもの日"},
    {"敬老の日", "敬老の日", "敬老の日"},
    {"秋分の日", "秋分の日", "秋分の日"},
    {"体育の日", "体育の日", "体育の日"},
    {"海の日", "海の日", "海の日"},
    {"文化の日", "文化の日", "文化の日"},
    {"勤労感謝の日", "勤労感謝の日", "勤労感謝の日"},
    {"天皇誕生日", "天皇誕生日", "天皇誕生日"},
    {"データエンド", "データエンド", "データエンド"},
};

constexpr std::int32_t kDates[kHolidayEntryCount + 1][2] = {
    {1, 1},  {1, 15}, {2, 11},  {3, 21}, {4, 29}, {5, 3},   {5, 4},   {5, 5},
    {9, 15}, {9, 23}, {10, 10}, {7, 20}, {11, 3}, {11, 23}, {12, 23}, {0, 0},
};

const std::vector<std::string>& Converted(HolidayNameUse use) {
  static const std::array<std::vector<std::string>, 3> names = [] {
    std::array<std::vector<std::string>, 3> all;
    for (const HolidayNames& n : kNames) {
      all[0].push_back(cp932::FromUtf8(n.grid));
      all[1].push_back(cp932::FromUtf8(n.writer));
      all[2].push_back(cp932::FromUtf8(n.window));
    }
    return all;
  }();
  return names[static_cast<int>(use)];
}

// Two signed nibbles per year; see EquinoxTable().
constexpr std::array<std::uint8_t, 200> kEquinox = {
    0x10, 0x11, 0x11, 0x21, 0x10, 0x11, 0x11, 0x21, 0x10, 0x11,  // 1900
    0x11, 0x21, 0x10, 0x11, 0x11, 0x21, 0x10, 0x11, 0x11, 0x21,  // 1910
    0x10, 0x10, 0x11, 0x21, 0x10, 0x10, 0x11, 0x11, 0x10, 0x10,  // 1920
    0x11, 0x11, 0x10, 0x10, 0x11, 0x11, 0x10, 0x10, 0x11, 0x11,  // 1930
    0x10, 0x10, 0x11, 0x11, 0x10, 0x10, 0x11, 0x11, 0x10, 0x10,  // 1940
    0x10, 0x11, 0x10, 0x10, 0x10, 0x11, 0x10, 0x10, 0x10, 0x11,  // 1950
    0x00, 0x10, 0x10, 0x11, 0x00, 0x10, 0x10, 0x11, 0x00, 0x10,  // 1960
    0x10, 0x11, 0x00, 0x10, 0x10, 0x11, 0x00, 0x10, 0x10, 0x11,  // 1970
    0x00, 0x10, 0x10, 0x10, 0x00, 0x10, 0x10, 0x10, 0x00, 0x10,  // 1980
    0x10, 0x10, 0x00, 0x00, 0x10, 0x10, 0x00, 0x00, 0x10, 0x10,  // 1990
    0x00, 0x00, 0x10, 0x10, 0x00, 0x00, 0x10, 0x10, 0x00, 0x00,  // 2000
    0x10, 0x10, 0x0F, 0x00, 0x10, 0x10, 0x0F, 0x00, 0x10, 0x10,  // 2010
    0x0F, 0x00, 0x10, 0x10, 0x0F, 0x00, 0x00, 0x10, 0x0F, 0x00,  // 2020
    0x00, 0x10, 0x0F, 0x00, 0x00, 0x10, 0x0F, 0x00, 0x00, 0x10,  // 2030
    0x0F, 0x00, 0x00, 0x10, 0x0F, 0x0F, 0x00, 0x10, 0x0F, 0x0F,  // 2040
    0x00, 0x10, 0x0F, 0x0F, 0x00, 0x10, 0x0F, 0x0F, 0x00, 0x00,  // 2050
    0x0F, 0x0F, 0x00, 0x00, 0x0F, 0x0F, 0x00, 0x00, 0x0F, 0x0F,  // 2060
    0x00, 0x00, 0x0F, 0x0F, 0x00, 0x00, 0x0F, 0x0F, 0x0F, 0x00,  // 2070
    0x0F, 0x0F, 0x0F, 0x00, 0x0F, 0x0F, 0x0F, 0x00, 0x0F, 0x0F,  // 2080
    0x0F, 0x00, 0xFF, 0x0F, 0x0F, 0x00, 0xFF, 0x0F, 0x0F, 0x00,  // 2090
};

constexpr int SignedNibble(int nibble) {
  return nibble < 8 ? nibble : nibble - 16;
}

// Day of the second Monday by the weekday (0 = Sunday) of the 1st.
constexpr int kSecondMonday[7] = {9, 8, 14, 13, 12, 11, 10};

bool MovedToMonday(int year, int month, int day) {
  return year >= 2000 && ((month == 1 && day == 15) || (month == 10 && day == 10));
}

}  // namespace

const std::array<HolidayEntry, kHolidayEntryCount + 1>& HolidayTable() {
  static const std::array<HolidayEntry, kHolidayEntryCount + 1> table = [] {
    std::array<HolidayEntry, kHolidayEntryCount + 1> t{};
    const std::vector<std::string>& names = Converted(HolidayNameUse::kGrid);
    for (int i = 0; i <= kHolidayEntryCount; ++i) t[i] = {kDates[i][0], kDates[i][1], names[i]};
    return t;
  }();
  return table;
}

std::string_view HolidayName(int index, HolidayNameUse use) {
  if (index < 0 || index >= kHolidayEntryCount) return {};
  return Converted(use)[index];
}

const std::array<std::array<std::int32_t, 2>, 14>& DayAfterHolidayTable() {
  // clang-format off
  static constexpr std::array<std::array<std::int32_t, 2>, 14> table = {{
      {1, 2}, {1, 16}, {2, 12}, {4, 30}, {5, 4}, {5, 5}, {5, 6},
      {9, 16}, {10, 11}, {7, 21}, {11, 4}, {11, 24}, {12, 24}, {0, 0},
  }};
  // clang-format on
  return table;
}

const std::array<std::uint8_t, 200>& EquinoxTable() {
  return kEquinox;
}

int WeekdayOf(int year, int month, int day) {
  if (year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day < 15)))) return 7;
  int y = year, m = month;
  if (month <= 2) {
    y = year - 1;
    m = month + 12;
  }
  return (y + y / 4 + y / 400 + (13 * m + 8) / 5 + day - y / 100) % 7;
}

int IsDayAfterHoliday(int year, int month, int day) {
  if (year >= 2000 && ((month == 1 && day == 16) || (month == 10 && day == 11))) return 0;
  for (const auto& entry : DayAfterHolidayTable()) {
    if (entry[0] == 0 && entry[1] == 0) break;
    if (entry[0] == month && entry[1] == day) return 2;
  }
  return 0;
}

int GetEquinoxDays(int year, int* vernal, int* autumnal) {
  if (year < 1900 || year > 2099) return -1;
  std::uint8_t b = kEquinox[year - 1900];
  if (vernal) *vernal = 20 + SignedNibble(b >> 4);
  if (autumnal) *autumnal = 23 + SignedNibble(b & 0x0F);
  return 0;
}

int SecondMonday(int year, int month) {
  int w = WeekdayOf(year, month, 1);
  return w == 7 ? 0 : kSecondMonday[w];
}

int TableHolidayIndex(int year, int month, int day, int vernal_day, int autumnal_day) {
  if (MovedToMonday(year, month, day)) return -1;
  for (int i = 0; i <= kHolidayEntryCount; ++i) {
    int m = kDates[i][0];
    int d = i == kVernalEntry ? vernal_day : i == kAutumnalEntry ? autumnal_day : kDates[i][1];
    if (m == 0 && d == 0) break;
    if (m == month && d == day) return i;
  }
  return -1;
}

int IsTableHoliday(int year, int month, int day, int vernal_day, int autumnal_day) {
  return TableHolidayIndex(year, month, day, vernal_day, autumnal_day) >= 0 ? 1 : 0;
}

}  // namespace calendar
