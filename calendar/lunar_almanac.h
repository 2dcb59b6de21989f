// LunarAlmanac: the rokuyou, lunar date and solar term of each day by the chosen method,
// worked out once and then answered from memory, because the month grid asks for the same days
// on every month switch and repaint. The accurate method keeps each span of lunar months and
// each year's solar terms; the series method keeps each day of 1976-2075 (days outside that
// range are computed on every call and not kept). A remembered day is exactly what the method
// would compute again.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "calendar/accurate_lunar_calendar.h"
#include "calendar/calendar_choices.h"
#include "calendar/lunar_calendar.h"

namespace calendar {

struct AlmanacDay {
  LunarDateRecord lunar;
  int solar_term = -1;               // 0-23, -1 for none
  std::string_view solar_term_name;  // code page 932, empty for none

  bool operator==(const AlmanacDay& other) const = default;
};

class LunarAlmanac {
 public:
  explicit LunarAlmanac(LunarMethod method = LunarMethod::kAccurate) : method_(method) {}
  void Choose(LunarMethod method) { method_ = method; }
  LunarMethod Method() const { return method_; }

  // The years the method answers for (the accurate method throws outside them).
  int FirstYear() const;
  int LastYear() const;
  bool InRange(int year) const { return year >= FirstYear() && year <= LastYear(); }

  AlmanacDay Day(int year, int month, int day);

 private:
  // One packed day: lunar year offset from 1900, month, day, leap, rokuyou, solar term + 1.
  struct Packed {
    std::uint8_t filled = 0;
    std::uint8_t year_offset = 0;
    std::uint8_t month = 0, day = 0, leap = 0, rokuyou = 0;
    std::int8_t solar_term = -1;
  };
  AlmanacDay SeriesDay(int year, int month, int day);
  AlmanacDay ComputeSeries(int year, int month, int day);

  LunarMethod method_;
  LunarCalendar series_;
  AccurateLunarCalendar accurate_;
  std::vector<Packed> days_;  // by day count from 1 January 1976, made on first use
};

}  // namespace calendar
