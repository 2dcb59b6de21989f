// LunarAlmanac: the rokuyou, lunar date and solar term of each day, worked out once and then
// answered from memory, because the month grid asks for the same 32 days on every repaint.
// The conversion depends on the date alone, so a remembered day is exactly what LunarCalendar
// would compute again. Days outside 1976-2075 are computed on every call and not kept.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

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
  AlmanacDay Day(int year, int month, int day);

 private:
  // One packed day: lunar year offset from 1900, month, day, leap, rokuyou, solar term + 1.
  struct Packed {
    std::uint8_t filled = 0;
    std::uint8_t year_offset = 0;
    std::uint8_t month = 0, day = 0, leap = 0, rokuyou = 0;
    std::int8_t solar_term = -1;
  };
  AlmanacDay Compute(int year, int month, int day);

  LunarCalendar calendar_;
  std::vector<Packed> days_;  // by day count from 1 January 1976, made on first use
};

}  // namespace calendar
