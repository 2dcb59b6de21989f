#include "calendar/lunar_almanac.h"

namespace calendar {
namespace {

const int kFirstCount = LunarCalendar::DayCount(LunarCalendar::kFirstYear, 1, 1);
const int kLastCount = LunarCalendar::DayCount(LunarCalendar::kLastYear, 12, 31);

}  // namespace

AlmanacDay LunarAlmanac::Compute(int year, int month, int day) {
  AlmanacDay result;
  result.lunar = calendar_.LunarDate(year, month, day);
  result.solar_term_name = calendar_.SolarTerm(year, month, day, &result.solar_term);
  return result;
}

AlmanacDay LunarAlmanac::Day(int year, int month, int day) {
  if (year < LunarCalendar::kFirstYear || year > LunarCalendar::kLastYear) {
    return Compute(year, month, day);
  }
  if (days_.empty()) days_.resize(kLastCount - kFirstCount + 1);
  Packed& p = days_[LunarCalendar::DayCount(year, month, day) - kFirstCount];
  if (!p.filled) {
    AlmanacDay computed = Compute(year, month, day);
    p.filled = 1;
    p.year_offset = static_cast<std::uint8_t>(computed.lunar.year - 1900);
    p.month = static_cast<std::uint8_t>(computed.lunar.month);
    p.day = static_cast<std::uint8_t>(computed.lunar.day);
    p.leap = static_cast<std::uint8_t>(computed.lunar.leap);
    p.rokuyou = static_cast<std::uint8_t>(computed.lunar.rokuyou);
    p.solar_term = static_cast<std::int8_t>(computed.solar_term);
    return computed;
  }
  AlmanacDay result;
  result.lunar.year = 1900 + p.year_offset;
  result.lunar.month = p.month;
  result.lunar.day = p.day;
  result.lunar.leap = p.leap;
  result.lunar.rokuyou = p.rokuyou;
  result.lunar.rokuyou_name = LunarCalendar::RokuyouName(p.rokuyou);
  result.solar_term = p.solar_term;
  result.solar_term_name = LunarCalendar::SolarTermName(p.solar_term);
  return result;
}

}  // namespace calendar
