#include "calendar/table_holiday_rules.h"

#include "calendar/holiday_tables.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

// Holiday-table indexes used by name.
constexpr int kNewYear = 0, kComingOfAge = 1, kFoundation = 2, kGreenery = 4, kConstitution = 5,
              kNationalHoliday = 6, kChildren = 7, kRespectForAged = 8, kSports = 10, kMarine = 11,
              kCulture = 12, kLabour = 13, kEmperor = 14;

// "month,day,name" in code page 932 (the name is already code page 932).
std::string WindowText(int month, int day, std::string_view name) {
  std::string text = std::to_string(month) + "," + std::to_string(day) + ",";
  text += name;
  return text;
}

}  // namespace

int TableHolidayRules::IsHoliday(int year, int month, int day) const {
  return IsTableHoliday(year, month, day, state_.vernal_entry_day, state_.autumnal_entry_day);
}

DayHoliday TableHolidayRules::DrawDay(int year, int month, int day) {
  if (month == 3 || month == 9) {
    int vernal, autumnal;
    if (GetEquinoxDays(year, &vernal, &autumnal) == 0) {
      state_.vernal_day = static_cast<std::int16_t>(vernal);
      state_.autumnal_day = static_cast<std::int16_t>(autumnal);
      state_.vernal_entry_day = vernal;
      state_.autumnal_entry_day = autumnal;
    }
  }
  if ((month == 1 || month == 10) && year >= 2000 && WeekdayOf(year, month, day) == 1) {
    state_.second_monday = static_cast<std::int16_t>(SecondMonday(year, month));
  }
  return Decide(year, month, day);
}

DayHoliday TableHolidayRules::Decide(int year, int month, int day) const {
  DayHoliday result;
  int index =
      TableHolidayIndex(year, month, day, state_.vernal_entry_day, state_.autumnal_entry_day);
  if (index >= 0) {
    result.holiday = true;
    result.kind = HolidayKind::kTable;
    result.name = HolidayName(index, HolidayNameUse::kGrid);
    return result;
  }
  if (year >= 2000 && (month == 1 || month == 10) && day == SecondMonday(year, month)) {
    result.holiday = true;
    result.kind = HolidayKind::kSecondMonday;
    result.name = HolidayName(month == 1 ? kComingOfAge : kSports, HolidayNameUse::kGrid);
    return result;
  }
  bool monday = WeekdayOf(year, month, day) == 1;
  if (monday && IsDayAfterHoliday(year, month, day) == 2) {
    result.holiday = true;
    result.kind = HolidayKind::kSubstitute;
    return result;
  }
  // The entries, not the main window's copies: they start at 21 March and 23 September, so a
  // year outside the equinox table never makes 1 March or 1 September a holiday.
  if (monday && ((month == 3 && day == state_.vernal_entry_day + 1) ||
                 (month == 9 && day == state_.autumnal_entry_day + 1))) {
    result.holiday = true;
    result.kind = HolidayKind::kEquinoxSubstitute;
  }
  return result;
}

std::vector<HolidayTarget> TableHolidayRules::WriterTargets(int year, int month) const {
  auto name = [](int index) { return HolidayName(index, HolidayNameUse::kWriter); };
  std::vector<HolidayTarget> targets;
  // A second Monday that no drawing has stored yet would name day 0; it is left out.
  auto second_monday = [&](int index) {
    if (state_.second_monday >= 1) targets.push_back({state_.second_monday, name(index)});
  };
  switch (month) {
    case 1:
      targets.push_back({1, name(kNewYear)});
      if (year >= 2000) {
        second_monday(kComingOfAge);
      } else {
        targets.push_back({15, name(kComingOfAge)});
      }
      break;
    case 2:
      targets.push_back({11, name(kFoundation)});
      break;
    case 3:
      if (state_.vernal_day == 20 || state_.vernal_day == 21) {
        targets.push_back({state_.vernal_day, name(kVernalEntry)});
      }
      break;
    case 4:
      targets.push_back({29, name(kGreenery)});
      break;
    case 5:
      targets.push_back({3, name(kConstitution)});
      targets.push_back({4, name(kNationalHoliday)});
      targets.push_back({5, name(kChildren)});
      break;
    case 7:
      targets.push_back({20, name(kMarine)});
      break;
    case 9:
      targets.push_back({15, name(kRespectForAged)});
      if (state_.autumnal_day == 22 || state_.autumnal_day == 23) {
        targets.push_back({state_.autumnal_day, name(kAutumnalEntry)});
      }
      break;
    case 10:
      if (year >= 2000) {
        second_monday(kSports);
      } else {
        targets.push_back({10, name(kSports)});
      }
      break;
    case 11:
      targets.push_back({3, name(kCulture)});
      targets.push_back({23, name(kLabour)});
      break;
    case 12:
      targets.push_back({23, name(kEmperor)});
      break;
    default:
      break;
  }
  return targets;
}

std::vector<std::string> TableHolidayRules::InitialCalendarWindowList() const {
  static const std::vector<std::string> initial = [] {
    static constexpr const char* kTexts[] = {
        "1,1,元旦",        "1,15,成人の日",      "2,11,建国の日",    "3,21,春分の日",
        "4,29,みどりの日", "5,3,憲法記念日",     "5,4,国民の休日",   "5,5,こどもの日",
        "7,20,海の日",     "9,15,敬老の日",      "9,23,秋分の日",    "10,10,体育の日",
        "11,3,文化の日",   "11,23,勤労感謝の日", "12,23,天皇誕生日",
    };
    std::vector<std::string> list;
    for (const char* text : kTexts) list.push_back(cp932::FromUtf8(text));
    return list;
  }();
  return initial;
}

void TableHolidayRules::UpdateCalendarWindowList(std::vector<std::string>& list, int year,
                                                 int month) const {
  auto name = [](int index) { return HolidayName(index, HolidayNameUse::kCalendarWindow); };
  // The window's list has its own order: 海の日 stands before 敬老の日.
  constexpr int kComingOfAgeText = 1, kVernalText = 3, kAutumnalText = 10, kSportsText = 11;
  if (year >= 2000) {
    if (month == 1) {
      list.at(kComingOfAgeText) = WindowText(1, SecondMonday(year, 1), name(kComingOfAge));
    }
    if (month == 10) list.at(kSportsText) = WindowText(10, SecondMonday(year, 10), name(kSports));
  } else {
    if (month == 1) list.at(kComingOfAgeText) = WindowText(1, 15, name(kComingOfAge));
    if (month == 10) list.at(kSportsText) = WindowText(10, 10, name(kSports));
  }
  int vernal, autumnal;
  if ((month == 3 || month == 9) && GetEquinoxDays(year, &vernal, &autumnal) == 0) {
    if (month == 3) list.at(kVernalText) = WindowText(3, vernal, name(kVernalEntry));
    if (month == 9) list.at(kAutumnalText) = WindowText(9, autumnal, name(kAutumnalEntry));
  }
}

}  // namespace calendar
