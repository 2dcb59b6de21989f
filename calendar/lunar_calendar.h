// LunarCalendar: the traditional lunisolar date of a civil date, with its rokuyou, and the solar
// term that begins on a day, from short series for the apparent longitudes of the sun and the
// moon. Good for 1976-2075, the years the month grid asks for; everything is evaluated in
// double precision in a fixed order, so that every result in that range is reproducible.
// Names are code page 932 bytes.
#pragma once

#include <cstdint>
#include <string_view>

namespace calendar {

struct LunarDateRecord {
  std::int32_t year = 0;
  std::int32_t month = 0;         // 1-12
  std::int32_t day = 0;           // 1-30
  std::int32_t leap = 0;          // 1 in a leap month
  std::int32_t rokuyou = 0;       // 0 先勝, 1 友引, 2 先負, 3 仏滅, 4 大安, 5 赤口
  std::string_view rokuyou_name;  // code page 932

  bool operator==(const LunarDateRecord& other) const = default;
};

// The outcome of the new-moon test of one day.
struct NewMoonTest {
  bool found = false;
  double moon = 0;  // moon at the start of the day
  double sun = 0;   // sun at the start of the day, raised by 360 for a new moon across 0 degrees
  int Sign() const { return static_cast<int>(sun) / 30; }  // 0-12
};

class LunarCalendar {
 public:
  static constexpr double kDayInYears = 0.0027378507871321013;  // 1 / 365.25
  static constexpr double kDegree = 0.017453292519943295;       // pi / 180

  static constexpr int kFirstYear = 1976;
  static constexpr int kLastYear = 2075;

  // Days since 31 December 1974 (N) and the time argument t = (N - 0.375) / 365.25: the local
  // midnight that starts the date, in years of 365.25 days since 31 December 1974, 09:00.
  static int DayCount(int year, int month, int day);
  static double TimeOfDay(int year, int month, int day);

  // Apparent longitudes in degrees, [0, 360).
  static double MoonLongitude(double t);
  // Also keeps the unwrapped sum (LastUnwrappedSun) that the lunar year step reads.
  double SunLongitude(double t);
  double LastUnwrappedSun() const { return last_sun_; }

  // Whether a new moon falls in the day that starts at t.
  NewMoonTest NewMoonInDay(double t);
  // Searches back (forward) from t - k (t + k) days, k first raised by 28, one day at a time;
  // return the sun's sign at the new moon found and leave k one past that day's offset.
  int PreviousNewMoonSign(double t, int& k);
  int NextNewMoonSign(double t, int& k);

  LunarDateRecord LunarDate(int year, int month, int day);

  // The solar term that begins on the date (code page 932) and its index 0-23 (0 = 春分), or
  // an empty name and -1.
  std::string_view SolarTerm(int year, int month, int day, int* index = nullptr);

  static std::string_view RokuyouName(int index);    // code page 932
  static std::string_view SolarTermName(int index);  // code page 932

 private:
  double last_sun_ = 0;
};

}  // namespace calendar
