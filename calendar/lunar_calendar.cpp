#include "calendar/lunar_calendar.h"

#include <array>
#include <cmath>
#include <string>

#include "platform/cp932.h"

namespace calendar {
namespace {

struct Term {
  double a, b, c;  // a * sin((c * t + b) degrees)
};

constexpr Term kMoonTerms[] = {
    {6.2887, 338.915, 4771.9886}, {1.274, 107.248, -4133.3536}, {0.6583, 51.668, 8905.3422},
    {0.2136, 317.831, 9543.9773}, {0.1856, 176.531, 359.9905},  {0.1143, 292.463, 9664.0404},
    {0.0588, 86.16, 638.635},     {0.0572, 103.78, -3773.363},  {0.0533, 30.58, 13677.331},
    {0.0459, 124.86, -8545.352},  {0.041, 342.38, 4411.998},    {0.0348, 25.83, 4452.671},
    {0.0305, 155.45, 5131.979},
};

constexpr Term kSunTerms[] = {
    {1.9159, 356.531, 359.991}, {0.02, 353.06, 719.981},   {-0.0048, 248.64, -19.341},
    {0.002, 285.0, 329.64},     {0.0018, 334.2, -4452.67}, {0.0018, 293.7, 0.2},
    {0.0015, 242.4, 450.37},    {0.0013, 211.1, 225.18},   {0.0008, 208.0, 659.29},
    {0.0007, 53.5, 90.38},
};

constexpr const char* kRokuyou[6] = {"先勝", "友引", "先負", "仏滅", "大安", "赤口"};
constexpr const char* kSolarTerms[24] = {
    "春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
    "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒", "立春", "雨水", "啓蟄",
};

}  // namespace

std::string_view LunarCalendar::RokuyouName(int index) {
  static const std::array<std::string, 6> names = [] {
    std::array<std::string, 6> out;
    for (int i = 0; i < 6; ++i) out[i] = cp932::FromUtf8(kRokuyou[i]);
    return out;
  }();
  return index >= 0 && index < 6 ? std::string_view(names[index]) : std::string_view();
}

std::string_view LunarCalendar::SolarTermName(int index) {
  static const std::array<std::string, 24> names = [] {
    std::array<std::string, 24> out;
    for (int i = 0; i < 24; ++i) out[i] = cp932::FromUtf8(kSolarTerms[i]);
    return out;
  }();
  return index >= 0 && index < 24 ? std::string_view(names[index]) : std::string_view();
}

int LunarCalendar::DayCount(int year, int month, int day) {
  int n = static_cast<int>(365.25 * (year - 1900)) + 31 * month + day -
          static_cast<int>(0.4 * month + 2.2) * ((month + 7) / 10) - 27424;
  if (year % 4 == 0 && (month == 1 || month == 2)) n -= 1;
  return n;
}

double LunarCalendar::TimeOfDay(int year, int month, int day) {
  return (DayCount(year, month, day) - 0.375) / 365.25;
}

double LunarCalendar::MoonLongitude(double t) {
  double sum = 4812.67881 * t + 124.8754;
  for (const Term& term : kMoonTerms) sum += term.a * std::sin((term.c * t + term.b) * kDegree);
  return std::fmod(sum, 360.0);
}

double LunarCalendar::SunLongitude(double t) {
  double sum = 360.00769 * t + 279.0358;
  sum -= 0.00005 * t * std::sin((359.991 * t + 356.531) * kDegree);
  for (const Term& term : kSunTerms) sum += term.a * std::sin((term.c * t + term.b) * kDegree);
  last_sun_ = sum;
  return std::fmod(sum, 360.0);
}

NewMoonTest LunarCalendar::NewMoonInDay(double t) {
  double m0 = MoonLongitude(t);
  double s0 = SunLongitude(t);
  double m1 = MoonLongitude(t + kDayInYears);
  double s1 = SunLongitude(t + kDayInYears);
  if (m1 < m0) m1 += 360;
  if (s1 < s0) s1 += 360;
  NewMoonTest test;
  test.found = m0 < s0 && m1 > s1;
  // The moon just below 360 and the sun just past 0: the conjunction falls across 0 degrees.
  if (s0 + 360 > m0 && s1 + 360 < m1) {
    test.found = true;
    s0 += 360;
  }
  test.moon = m0;
  test.sun = s0;
  return test;
}

int LunarCalendar::PreviousNewMoonSign(double t, int& k) {
  k += 28;
  for (;;) {
    NewMoonTest test = NewMoonInDay(t - k * kDayInYears);
    ++k;
    if (test.found) return test.Sign();
  }
}

int LunarCalendar::NextNewMoonSign(double t, int& k) {
  k += 28;
  for (;;) {
    NewMoonTest test = NewMoonInDay(t + k * kDayInYears);
    ++k;
    if (test.found) return test.Sign();
  }
}

LunarDateRecord LunarCalendar::LunarDate(int year, int month, int day) {
  double t = TimeOfDay(year, month, day);
  int k1 = 1;
  int year_mark = 0;

  // a: the sun's sign at the new moon that starts the lunar month; b: at the next one.
  NewMoonTest today = NewMoonInDay(t);
  int a = today.Sign();
  double m0 = today.moon;
  double s0 = today.sun;
  if (m0 < s0) m0 += 360;
  if (!today.found) {
    // The elongation, at about 13 degrees a day, says how far back the new moon lies.
    k1 = static_cast<int>(m0 - s0) / 13 - 28;
    a = PreviousNewMoonSign(t, k1);
  }
  LunarDateRecord r;
  r.day = k1;

  int k2 = -k1;
  int b = NextNewMoonSign(t, k2);
  if (a > b) b += 12;

  int q = (b / 3) * 3;
  r.month = b + 2;
  r.leap = a == b ? 1 : 0;  // no principal term between the two new moons

  // The sun was last evaluated on the day after the next new moon: past 0 degrees of this
  // year's count, the lunar year has turned.
  double whole_years = static_cast<int>(t);
  r.year = static_cast<int>(t) + 1974;
  if (last_sun_ - 360 * whole_years > 360) year_mark = 1;

  // Look at the three months around the signs q, q+1 and q+2: when three lunar months cover
  // them, none of them is a leap month.
  int j = 0;
  if (a > q + 2) {
    j = a - q - 2;
    k1 += 29 * j;
  }
  while (q <= a) {
    ++j;
    a = PreviousNewMoonSign(t, k1);
    if (a > b) a -= 12;
  }
  int h = 2 - j;
  if (h < 0) h = 0;
  k2 += 29 * h;
  while (b < q + 3) {
    ++h;
    b = NextNewMoonSign(t, k2);
    if (a > b) b += 12;
  }
  if (j + h == 3) {
    r.month = q + j + 2;
    r.leap = 0;
  }
  if (r.month > 12) {
    r.month -= 12;
    year_mark = 2;
  }
  if (year_mark != 0) r.year += 1;

  r.rokuyou = (r.month + r.day - 2) % 6;
  r.rokuyou_name = RokuyouName(r.rokuyou);
  return r;
}

std::string_view LunarCalendar::SolarTerm(int year, int month, int day, int* index) {
  double t = TimeOfDay(year, month, day);
  double e = SunLongitude(t);
  double f = SunLongitude(t + kDayInYears);
  if (f < e) f += 360;
  int g = static_cast<int>(e) / 15;
  int l = static_cast<int>(f) / 15;
  int found = -1;
  if (l > g) found = l == 24 ? 0 : l;
  if (index) *index = found;
  return SolarTermName(found);
}

}  // namespace calendar
