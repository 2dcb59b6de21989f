#include "calendar/calendar_math.h"

#include <cmath>
#include <string>

namespace calendar {
namespace {

constexpr double kDegree = 0.017453292519943295;

double SinDeg(double degrees) {
  return std::sin(degrees * kDegree);
}

int FloorDiv(int a, int b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

bool InGregorianGap(int year, int month, int day) {
  return year == 1582 && month == 10 && day >= 5 && day <= 14;
}

bool BeforeGregorian(int year, int month, int day) {
  return year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day < 15)));
}

}  // namespace

EJuliusError::EJuliusError() : std::runtime_error("1582/10/5-10/14は存在しません。") {}

bool GregorianLeapYear(int year) {
  return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int GregorianMonthLength(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && GregorianLeapYear(year) ? 1 : 0);
}

bool LeapYear(int year) {
  if (year > 1581) return year % 4000 != 0 && GregorianLeapYear(year);
  return FloorDiv(year + 4712, 4) * 4 == year + 4712;
}

int MonthLength(int year, int month) {
  if (month < 1 || month > 12) throw std::out_of_range("month " + std::to_string(month));
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

int DayNumber(int year, int month, int day) {
  if (InGregorianGap(year, month, day)) throw EJuliusError();
  // Years counted from March, so that the leap day ends a year.
  int a = (14 - month) / 12;
  int y = year + 4800 - a;
  int m = month + 12 * a - 3;
  int base = day + (153 * m + 2) / 5 + 365 * y + FloorDiv(y, 4);
  if (BeforeGregorian(year, month, day)) return base - 32083;
  // Every 29 February of a year divisible by 4000 that lies before the date is left out.
  int march_year = year - a;
  return base - y / 100 + y / 400 - 32045 - march_year / 4000;
}

int CalendarWeekday(int year, int month, int day) {
  return (DayNumber(year, month, day) + 1) % 7 + 1;
}

int VernalEquinoxDay(int year) {
  double b = year - 2000;
  double s = 0.002 * (SinDeg(321 - 30.37 * b) + SinDeg(249 + 0.19 * b) + SinDeg(202 - 132.57 * b) +
                      SinDeg(84 - 90.37 * b)) -
             0.00004871850323926 * b + 0.001 * SinDeg(132 - 134.81 * b) +
             0.005 * SinDeg(239 - 19.34 * b);
  return static_cast<int>(365.24229 * b + 2451624.683 + (0.0000001 * b * b - s));
}

int AutumnalEquinoxDay(int year) {
  double b = year - 2000;
  double s = 0.002 * (SinDeg(485 - 30.37 * b) + SinDeg(249 + 0.19 * b) +
                      SinDeg(268.2 - 132.57 * b) + SinDeg(309.2 - 90.37 * b)) +
             0.00004871850323926 * b + 0.001 * SinDeg(244.6 - 134.81 * b) +
             0.005 * SinDeg(248.6 - 19.34 * b);
  return static_cast<int>(365.24206 * b + 2451811.096 + (0.0000001 * b * b - s));
}

}  // namespace calendar
