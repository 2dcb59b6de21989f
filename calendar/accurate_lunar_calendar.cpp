#include "calendar/accurate_lunar_calendar.h"

#include <stdexcept>
#include <string>

#include "calendar/astronomy.h"
#include "calendar/calendar_math.h"

namespace calendar {
namespace {

constexpr int kWinterSolstice = 18;  // 冬至, the Sun at 270 degrees
constexpr double kDaysPer15Degrees = 365.242189 / 24;

int NewMoonDay(int k) {
  return astronomy::JapanDayNumber(astronomy::NewMoon(k));
}

}  // namespace

int AccurateLunarCalendar::SolarTermDay(int year, int index) {
  int& day = terms_[year][static_cast<size_t>(index)];
  if (day == 0) {
    // 春分 falls about 20 March; the terms of January to mid-March (小寒 to 啓蟄) precede it.
    const double vernal_guess = astronomy::JapanMidnight(DayNumber(year, 3, 20));
    const int offset = index <= kWinterSolstice ? index : index - 24;
    day = astronomy::JapanDayNumber(
        astronomy::SolarLongitudeInstant(15.0 * index, vernal_guess + offset * kDaysPer15Degrees));
  }
  return day;
}

const AccurateLunarCalendar::Span& AccurateLunarCalendar::SpanBefore(int year) {
  auto found = spans_.find(year);
  if (found != spans_.end()) return found->second;

  const int first_solstice = SolarTermDay(year - 1, kWinterSolstice);
  const int last_solstice = SolarTermDay(year, kWinterSolstice);
  // The principal terms (中気, the even indexes) from one 冬至 to the next, in date order.
  std::vector<int> principal{first_solstice};
  for (int index : {20, 22, 0, 2, 4, 6, 8, 10, 12, 14, 16, 18}) {
    principal.push_back(SolarTermDay(year, index));
  }

  // The new moon on or before the first 冬至 starts month 11; collect the new moons up to the
  // one on or before the next 冬至, which starts the next month 11.
  int k = astronomy::LunationNear(astronomy::JapanMidnight(first_solstice));
  while (NewMoonDay(k) > first_solstice) --k;
  while (NewMoonDay(k + 1) <= first_solstice) ++k;
  std::vector<int> starts;
  for (int day = NewMoonDay(k); day <= last_solstice; day = NewMoonDay(++k)) starts.push_back(day);

  Span span;
  span.end = starts.back();
  starts.pop_back();
  const int count = static_cast<int>(starts.size());  // 12, or 13 with a leap month
  auto holds_principal_term = [&](int i) {
    const int end = i + 1 < count ? starts[static_cast<size_t>(i + 1)] : span.end;
    for (int day : principal) {
      if (day >= starts[static_cast<size_t>(i)] && day < end) return true;
    }
    return false;
  };
  int leap = -1;
  if (count == 13) {
    for (int i = 1; i < count && leap < 0; ++i) {
      if (!holds_principal_term(i)) leap = i;
    }
  }
  int number = 11;
  int lunar_year = year - 1;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && i != leap) {
      number = number % 12 + 1;
      if (number == 1) lunar_year = year;
    }
    span.months.push_back({starts[static_cast<size_t>(i)], lunar_year, number, i == leap});
  }
  return spans_.emplace(year, std::move(span)).first->second;
}

const std::vector<AccurateLunarCalendar::Month>& AccurateLunarCalendar::MonthsBefore(int year) {
  return SpanBefore(year).months;
}

LunarDateRecord AccurateLunarCalendar::LunarDate(int year, int month, int day) {
  if (!InRange(year)) throw std::out_of_range("lunar date outside 1901-2099");
  const int day_number = DayNumber(year, month, day);
  const Span* span = &SpanBefore(year);
  if (day_number >= span->end) span = &SpanBefore(year + 1);
  size_t i = span->months.size() - 1;
  while (span->months[i].first_day > day_number) --i;
  const Month& m = span->months[i];
  LunarDateRecord r;
  r.year = m.year;
  r.month = m.number;
  r.day = day_number - m.first_day + 1;
  r.leap = m.leap ? 1 : 0;
  r.rokuyou = (r.month + r.day - 2) % 6;
  r.rokuyou_name = LunarCalendar::RokuyouName(r.rokuyou);
  return r;
}

std::string_view AccurateLunarCalendar::SolarTerm(int year, int month, int day, int* index) {
  if (!InRange(year)) throw std::out_of_range("solar term outside 1901-2099");
  const int day_number = DayNumber(year, month, day);
  // A civil month holds two terms, March 啓蟄 (23) and 春分 (0), April 清明 (1) and 穀雨 (2),
  // and so on; no term of these years begins outside its month.
  const int first = (2 * month + 17) % 24;
  int found = -1;
  for (int i : {first, (first + 1) % 24}) {
    if (SolarTermDay(year, i) == day_number) found = i;
  }
  if (index) *index = found;
  return LunarCalendar::SolarTermName(found);
}

}  // namespace calendar
