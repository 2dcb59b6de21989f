#include "calendar/holiday_law.h"

#include <algorithm>
#include <map>

#include "calendar/astronomy.h"
#include "calendar/calendar_math.h"
#include "platform/cp932.h"

namespace calendar {
namespace {

// Dates as Julian Day Numbers, so that the effective dates of the amendments compare simply.
int Jdn(int year, int month, int day) {
  return DayNumber(year, month, day);
}
int Weekday(int jdn) {
  return (jdn + 1) % 7;  // 0 = Sunday
}
int NthMonday(int year, int month, int n) {
  const int first = Weekday(Jdn(year, month, 1));
  return 1 + (8 - first) % 7 + 7 * (n - 1);
}

// The equinox formula of the almanac makers (海上保安庁水路部 暦計算研究会 編「新こよみ便利帳」,
// 1991), which gives the days that the National Astronomical Observatory announces each
// February for the next year's law holidays: day = trunc(base + 0.242194 (Y - 1980) -
// trunc((Y - ref) / 4)).
int EquinoxFormula(double base, int year, int ref) {
  return static_cast<int>(base + 0.242194 * (year - 1980) - (year - ref) / 4);
}

// Outside the formula's years, the day of the Sun's passage itself.
int EquinoxByAstronomy(int year, int month, double longitude) {
  const double guess = astronomy::JapanMidnight(Jdn(year, month, month == 3 ? 20 : 23));
  const double instant = astronomy::SolarLongitudeInstant(longitude, guess);
  return astronomy::JapanDayNumber(instant) - Jdn(year, month, 1) + 1;
}

class YearBuilder {
 public:
  explicit YearBuilder(int year) : year_(year) {}

  // A national holiday on (month, day) when that date lies in [from, until] (Julian Day
  // Numbers; 0 for no bound).
  void Add(int month, int day, const char* utf8_name, int from = 0, int until = 0) {
    const int jdn = Jdn(year_, month, day);
    if (jdn < kLawInForce || (from && jdn < from) || (until && jdn > until)) return;
    national_[jdn] = utf8_name;
  }

  std::vector<LawHoliday> Build() const {
    std::map<int, LawHoliday> days;
    for (const auto& [jdn, name] : national_)
      days[jdn] = Entry(jdn, name, LawHolidayKind::kNational);
    const int before = Jdn(year_, 1, 1) - 1;  // 31 December before, never a holiday
    auto national = [&](int jdn) { return national_.count(jdn) > 0; };

    // 振替休日. 1973 amendment (昭和48年法律第10号, in force 12 April 1973), Article 3(2):
    // when a national holiday falls on a Sunday, the next day is a day off. 2005 amendment
    // (平成17年法律第43号, in force 1 January 2007): the nearest following day that is not a
    // national holiday (so 2008-05-06 after 5-3, 5-4 and 5-5).
    const int substitute_from = Jdn(1973, 4, 12);
    const int nearest_from = Jdn(2007, 1, 1);
    // The holiday of 31 December of the year before is never a Sunday holiday, and one of late
    // December can only move into the next year, so the year's own holidays suffice.
    for (const auto& [jdn, name] : national_) {
      if (Weekday(jdn) != 0 || jdn < substitute_from) continue;
      int off = jdn + 1;
      if (jdn >= nearest_from) {
        while (national(off)) ++off;
      } else if (national(off)) {
        continue;
      }
      if (off <= Jdn(year_, 12, 31)) {
        days[off] = Entry(off, "休日", LawHolidayKind::kSubstitute);
      }
    }
    // 国民の休日. 1985 amendment (昭和60年法律第103号, in force 27 December 1985), Article
    // 3(3): a day whose previous and next days are national holidays is a day off, unless it is
    // a Sunday or a substitute day; from 2007 (平成17年法律第43号) any day that is not itself a
    // national holiday.
    const int between_from = Jdn(1985, 12, 27);
    for (int jdn = std::max(before + 2, between_from); jdn <= Jdn(year_, 12, 31); ++jdn) {
      if (national(jdn) || !national(jdn - 1) || !national(jdn + 1)) continue;
      if (jdn < nearest_from && (Weekday(jdn) == 0 || days.count(jdn))) continue;
      if (!days.count(jdn)) days[jdn] = Entry(jdn, "休日", LawHolidayKind::kBetween);
    }
    std::vector<LawHoliday> out;
    for (auto& [jdn, holiday] : days) {
      if (jdn > before) out.push_back(std::move(holiday));
    }
    return out;
  }

  // The law was promulgated and took effect on 20 July 1948 (昭和23年法律第178号).
  static inline const int kLawInForce = Jdn(1948, 7, 20);

 private:
  LawHoliday Entry(int jdn, const char* utf8_name, LawHolidayKind kind) const {
    LawHoliday h;
    // The month and day of a Julian Day Number within this year.
    int m = 12;
    while (Jdn(year_, m, 1) > jdn) --m;
    h.month = m;
    h.day = jdn - Jdn(year_, m, 1) + 1;
    h.name = cp932::FromUtf8(utf8_name);
    h.kind = kind;
    return h;
  }

  int year_;
  std::map<int, const char*> national_;
};

}  // namespace

void LawEquinoxDays(int year, int& vernal, int& autumnal) {
  if (year >= 1900 && year <= 1979) {
    vernal = EquinoxFormula(20.8357, year, 1983);
    autumnal = EquinoxFormula(23.2588, year, 1983);
  } else if (year >= 1980 && year <= 2099) {
    vernal = EquinoxFormula(20.8431, year, 1980);
    autumnal = EquinoxFormula(23.2488, year, 1980);
  } else if (year >= 2100 && year <= 2150) {
    vernal = EquinoxFormula(21.8510, year, 1980);
    autumnal = EquinoxFormula(24.2488, year, 1980);
  } else {
    vernal = EquinoxByAstronomy(year, 3, 0);
    autumnal = EquinoxByAstronomy(year, 9, 180);
  }
}

std::vector<LawHoliday> LawHolidaysOf(int y) {
  if (y < 1948) return {};
  YearBuilder b(y);
  auto on = [](int year, int month, int day) { return Jdn(year, month, day); };
  // Article 2 of the 1948 law, as amended. Each line: the date in this year and the span of
  // dates over which the law made it that holiday.
  b.Add(1, 1, "元日");
  // 成人の日: 15 January; from 2000 the second Monday of January (平成10年法律第141号).
  b.Add(1, 15, "成人の日", 0, on(1999, 12, 31));
  b.Add(1, NthMonday(y, 1, 2), "成人の日", on(2000, 1, 1));
  // 建国記念の日: added by 昭和41年法律第86号 on the day a cabinet order fixes, 11 February
  // (建国記念の日となる日を定める政令, 昭和41年政令第376号), first kept in 1967.
  b.Add(2, 11, "建国記念の日", on(1967, 1, 1));
  // 天皇誕生日: 29 April; 23 December from 1989 (平成元年法律第5号, in force 17 February
  // 1989); 23 February from 2020 (皇室典範特例法 附則, 平成29年法律第63号, in force 30 April
  // 2019, so 2019 has none).
  b.Add(4, 29, "天皇誕生日", 0, on(1989, 2, 16));
  b.Add(12, 23, "天皇誕生日", on(1989, 2, 17), on(2019, 4, 29));
  b.Add(2, 23, "天皇誕生日", on(2019, 4, 30));
  // 春分の日 and 秋分の日: the days of the equinoxes ("春分日", "秋分日").
  int vernal = 0, autumnal = 0;
  LawEquinoxDays(y, vernal, autumnal);
  b.Add(3, vernal, "春分の日");
  b.Add(9, autumnal, "秋分の日");
  // 29 April: みどりの日 from 1989 (平成元年法律第5号); 昭和の日 from 2007, when みどりの日
  // moved to 4 May (平成17年法律第43号).
  b.Add(4, 29, "みどりの日", on(1989, 2, 17), on(2006, 12, 31));
  b.Add(4, 29, "昭和の日", on(2007, 1, 1));
  b.Add(5, 3, "憲法記念日");
  b.Add(5, 4, "みどりの日", on(2007, 1, 1));
  b.Add(5, 5, "こどもの日");
  // 海の日: 20 July from 1996 (平成7年法律第22号); the third Monday of July from 2003 (平成13年
  // 法律第59号); for the Tokyo Games 23 July 2020 (平成30年法律第55号) and 22 July 2021
  // (令和2年法律第68号).
  b.Add(7, 20, "海の日", on(1996, 1, 1), on(2002, 12, 31));
  if (y == 2020) {
    b.Add(7, 23, "海の日");
  } else if (y == 2021) {
    b.Add(7, 22, "海の日");
  } else {
    b.Add(7, NthMonday(y, 7, 3), "海の日", on(2003, 1, 1));
  }
  // 山の日: 11 August from 2016 (平成26年法律第43号); 10 August 2020 and 8 August 2021 by the
  // same special laws.
  if (y == 2020) {
    b.Add(8, 10, "山の日");
  } else if (y == 2021) {
    b.Add(8, 8, "山の日");
  } else {
    b.Add(8, 11, "山の日", on(2016, 1, 1));
  }
  // 敬老の日: 15 September from 1966 (昭和41年法律第86号, in force 25 June 1966); the third
  // Monday of September from 2003 (平成13年法律第59号).
  b.Add(9, 15, "敬老の日", on(1966, 6, 25), on(2002, 12, 31));
  b.Add(9, NthMonday(y, 9, 3), "敬老の日", on(2003, 1, 1));
  // 体育の日: 10 October from 1966 (昭和41年法律第86号); the second Monday of October from 2000
  // (平成10年法律第141号); renamed スポーツの日 from 2020 (平成30年法律第57号), and moved to
  // 24 July 2020 and 23 July 2021 for the Games. The Cabinet Office list already writes 2019's
  // day as "体育の日（スポーツの日）".
  b.Add(10, 10, "体育の日", on(1966, 6, 25), on(1999, 12, 31));
  if (y == 2019) {
    b.Add(10, NthMonday(y, 10, 2), "体育の日（スポーツの日）");
  } else if (y == 2020) {
    b.Add(7, 24, "スポーツの日");
  } else if (y == 2021) {
    b.Add(7, 23, "スポーツの日");
  } else {
    b.Add(10, NthMonday(y, 10, 2), "体育の日", on(2000, 1, 1), on(2018, 12, 31));
    b.Add(10, NthMonday(y, 10, 2), "スポーツの日", on(2022, 1, 1));
  }
  b.Add(11, 3, "文化の日");
  b.Add(11, 23, "勤労感謝の日");
  // One-off holidays, each by its own law: 皇太子明仁親王の結婚の儀 (昭和34年法律第16号),
  // 昭和天皇の大喪の礼 (平成元年法律第4号), 即位礼正殿の儀 (平成2年法律第24号), 皇太子徳仁親王の
  // 結婚の儀 (平成5年法律第32号); and for the accession of 2019 (平成30年法律第99号) 1 May and
  // 22 October, which count as national holidays for the rules above, so 30 April and 2 May
  // become days between holidays.
  if (y == 1959) b.Add(4, 10, "結婚の儀");
  if (y == 1989) b.Add(2, 24, "大喪の礼");
  if (y == 1990) b.Add(11, 12, "即位礼正殿の儀");
  if (y == 1993) b.Add(6, 9, "結婚の儀");
  if (y == 2019) {
    b.Add(5, 1, "休日（祝日扱い）");
    b.Add(10, 22, "休日（祝日扱い）");
  }
  return b.Build();
}

}  // namespace calendar
