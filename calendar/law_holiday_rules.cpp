#include "calendar/law_holiday_rules.h"

#include "calendar/holiday_tables.h"
#include "platform/cp932.h"

namespace calendar {

const std::vector<LawHoliday>& LawHolidayRules::Year(int year) const {
  auto found = years_.find(year);
  if (found == years_.end()) found = years_.emplace(year, LawHolidaysOf(year)).first;
  return found->second;
}

const LawHoliday* LawHolidayRules::Find(int year, int month, int day) const {
  for (const LawHoliday& h : Year(year)) {
    if (h.month == month && h.day == day) return &h;
  }
  return nullptr;
}

DayHoliday LawHolidayRules::DrawDay(int year, int month, int day) {
  // The same state the table rules leave, so that whoever reads it sees this year's days.
  if (month == 3 || month == 9) {
    int vernal = 0, autumnal = 0;
    LawEquinoxDays(year, vernal, autumnal);
    state_.vernal_day = static_cast<std::int16_t>(vernal);
    state_.autumnal_day = static_cast<std::int16_t>(autumnal);
    state_.vernal_entry_day = vernal;
    state_.autumnal_entry_day = autumnal;
  }
  if ((month == 1 || month == 10) && year >= 2000 && WeekdayOf(year, month, day) == 1) {
    state_.second_monday = static_cast<std::int16_t>(SecondMonday(year, month));
  }
  DayHoliday result;
  const LawHoliday* h = Find(year, month, day);
  if (!h) return result;
  result.holiday = true;
  result.name = h->name;
  result.kind = h->kind == LawHolidayKind::kNational     ? HolidayKind::kLaw
                : h->kind == LawHolidayKind::kSubstitute ? HolidayKind::kSubstitute
                                                         : HolidayKind::kBetween;
  return result;
}

int LawHolidayRules::IsHoliday(int year, int month, int day) const {
  const LawHoliday* h = Find(year, month, day);
  return h && h->kind == LawHolidayKind::kNational ? 1 : 0;
}

std::vector<HolidayTarget> LawHolidayRules::WriterTargets(int year, int month) const {
  std::vector<HolidayTarget> targets;
  for (const LawHoliday& h : Year(year)) {
    if (h.month == month && h.kind == LawHolidayKind::kNational) {
      targets.push_back({h.day, h.name});
    }
  }
  return targets;
}

std::vector<std::string> LawHolidayRules::InitialCalendarWindowList() const {
  return {};
}

void LawHolidayRules::UpdateCalendarWindowList(std::vector<std::string>& list, int year,
                                               int /*month*/) const {
  // The grid calls both kinds of day off 休日; the window's line tells which one it is.
  static const std::string substitute = cp932::FromUtf8("振替休日");
  static const std::string between = cp932::FromUtf8("国民の休日");
  list.clear();
  for (const LawHoliday& h : Year(year)) {
    std::string text = std::to_string(h.month) + "," + std::to_string(h.day) + ",";
    text += h.kind == LawHolidayKind::kSubstitute ? substitute
            : h.kind == LawHolidayKind::kBetween  ? between
                                                  : h.name;
    list.push_back(std::move(text));
  }
}

}  // namespace calendar
