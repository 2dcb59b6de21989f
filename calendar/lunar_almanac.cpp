#include "calendar/lunar_almanac.h"

namespace calendar {
namespace {

const int kFirstCount = LunarCalendar::DayCount(LunarCalendar::kFirstYear, 1, 1);
const int kLastCount = LunarCalendar::DayCount(LunarCalendar::kLastYear, 12, 31);

}  // namespace

int LunarAlmanac::FirstYear() const {
  return method_ == LunarMethod::kSeries ? LunarCalendar::kFirstYear
                                         : AccurateLunarCalendar::kFirstYear;
}

int LunarAlmanac::LastYear() const {
  return method_ == LunarMethod::kSeries ? LunarCalendar::kLastYear
                                         : AccurateLunarCalendar::kLastYear;
}

AlmanacDay LunarAlmanac::Day(int year, int month, int day) {
  if (method_ == LunarMethod::kSeries) return SeriesDay(year, month, day);
  AlmanacDay result;
  result.lunar = accurate_.LunarDate(year, month, day);
  result.solar_term_name = accurate_.SolarTerm(year, month, day, &result.solar_term);
  return result;
}

AlmanacDay LunarAlmanac::ComputeSeries(int year, int month, int day) {
  AlmanacDay result;
  result.lunar = series_.LunarDate(year, month, day);
  result.solar_term_name = series_.SolarTerm(year, month, day, &result.solar_term);
  return result;
}

AlmanacDay LunarAlmanac::SeriesDay(int year, int month, int day) {
  if (year < LunarCalendar::kFirstYear || year > LunarCalendar::kLastYear) {
    return ComputeSeries(year, month, day);
  }
  if (days_.empty()) days_.resize(kLastCount - kFirstCount + 1);
  Packed& p = days_[LunarCalendar::DayCount(year, month, day) - kFirstCount];
  if (!p.filled) {
    AlmanacDay computed = ComputeSeries(year, month, day);
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
