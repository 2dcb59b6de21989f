#include "calendar/astronomy.h"

#include <cmath>
#include <iterator>

namespace calendar::astronomy {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180;
constexpr double kArcSecond = 1.0 / 3600;
constexpr double kTropicalYear = 365.242189;
constexpr double kSynodicMonth = 29.530588861;

double SinDeg(double degrees) {
  return std::sin(std::fmod(degrees, 360.0) * kDegree);
}

double Reduce(double degrees) {
  double r = std::fmod(degrees, 360.0);
  return r < 0 ? r + 360 : r;
}

// Periodic terms A cos(B + C tau) of VSOP87D (Bretagnon and Francou, 1988), Earth's
// heliocentric ecliptic longitude for the equinox of date, A in 1e-8 radians, tau in Julian
// millennia from J2000. The abridgement of Meeus, "Astronomical Algorithms" (2nd ed., 1998),
// Appendix III: about one arcsecond over our centuries, which is some 25 seconds of the Sun's
// motion and well inside what deciding a day needs.
struct Vsop {
  double a, b, c;
};

constexpr Vsop kL0[] = {
    {175347046, 0, 0},
    {3341656, 4.6692568, 6283.0758500},
    {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},
    {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},
    {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910},
    {1199, 1.1096, 1577.3435},
    {990, 5.233, 5884.927},
    {902, 2.045, 26.298},
    {857, 3.508, 398.149},
    {780, 1.179, 5223.694},
    {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},
    {492, 4.205, 775.523},
    {357, 2.920, 0.067},
    {317, 5.849, 11790.629},
    {284, 1.899, 796.298},
    {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},
    {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},
    {202, 2.458, 6069.777},
    {156, 0.833, 213.299},
    {132, 3.411, 2942.463},
    {126, 1.083, 20.775},
    {115, 0.645, 0.980},
    {103, 0.636, 4694.003},
    {102, 0.976, 15720.839},
    {102, 4.267, 7.114},
    {99, 6.21, 2146.17},
    {98, 0.68, 155.42},
    {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},
    {85, 3.67, 71430.70},
    {80, 1.81, 17260.15},
    {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},
    {74, 3.50, 3154.69},
    {74, 4.68, 801.82},
    {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},
    {61, 1.82, 7084.90},
    {57, 2.78, 6286.60},
    {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},
    {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},
    {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},
    {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},
    {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},
    {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},
    {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},
    {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};
constexpr Vsop kL1[] = {
    {628331966747, 0, 0},       {206059, 2.678235, 6283.075850},
    {4303, 2.6351, 12566.1517}, {425, 1.590, 3.523},
    {119, 5.796, 26.298},       {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},       {72, 1.14, 529.69},
    {68, 1.87, 398.15},         {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},        {56, 2.17, 155.42},
    {45, 0.40, 796.30},         {36, 0.47, 775.52},
    {29, 2.65, 7.11},           {21, 5.34, 0.98},
    {19, 1.85, 5486.78},        {19, 4.97, 213.30},
    {17, 2.99, 6275.96},        {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},        {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},        {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},        {12, 2.08, 4694.00},
    {11, 0.77, 553.57},         {10, 1.30, 6286.60},
    {10, 4.24, 1349.87},        {9, 2.70, 242.73},
    {9, 5.64, 951.72},          {8, 5.30, 2352.87},
    {6, 2.65, 9437.76},         {6, 4.67, 4690.48},
};
constexpr Vsop kL2[] = {
    {52919, 0, 0},     {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.30}, {16, 3.68, 155.42},        {10, 0.76, 18849.23},    {9, 2.06, 77713.77},
    {7, 0.83, 775.52}, {5, 4.66, 1577.34},        {4, 1.03, 7.11},         {4, 3.44, 5573.14},
    {3, 5.14, 796.30}, {3, 6.05, 5507.55},        {3, 1.19, 242.73},       {3, 6.12, 529.69},
    {3, 0.31, 398.15}, {3, 2.28, 553.57},         {2, 4.38, 5223.69},      {2, 3.75, 0.98},
};
constexpr Vsop kL3[] = {
    {289, 5.844, 6283.076}, {35, 0, 0},          {17, 5.49, 12566.15}, {3, 5.20, 155.42},
    {1, 4.72, 3.52},        {1, 5.30, 18849.23}, {1, 5.97, 242.73},
};
constexpr Vsop kL4[] = {{114, 3.142, 0}, {8, 4.13, 6283.08}, {1, 3.84, 12566.15}};
constexpr Vsop kL5[] = {{1, 3.14, 0}};
// The leading terms of the radius vector, enough for the aberration (20.5" / R).
constexpr Vsop kR0[] = {
    {100013989, 0, 0},          {1670700, 3.0984635, 6283.0758500}, {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715}, {1628, 1.1739, 5753.3849},          {1576, 2.8469, 7860.4194},
};
constexpr Vsop kR1[] = {{103019, 1.107490, 6283.075850}, {1721, 1.0644, 12566.1517}};

template <size_t N>
double Series(const Vsop (&terms)[N], double tau) {
  double sum = 0;
  for (const Vsop& t : terms) sum += t.a * std::cos(t.b + t.c * tau);
  return sum;
}

// Nutation in longitude, arcseconds: the four largest terms of the IAU 1980 theory (Meeus,
// chapter 22), good to half an arcsecond. It moves the Sun and the Moon alike, so it does not
// touch the new moons at all.
double NutationInLongitude(double t) {
  double omega = 125.04452 - 1934.136261 * t;
  double sun = 280.4665 + 36000.7698 * t;
  double moon = 218.3165 + 481267.8813 * t;
  return -17.20 * SinDeg(omega) - 1.32 * SinDeg(2 * sun) - 0.23 * SinDeg(2 * moon) +
         0.21 * SinDeg(2 * omega);
}

}  // namespace

double DeltaT(double y) {
  // Espenak and Meeus (2006), the expressions for 1860-2150; earlier and later years keep the
  // long-term parabola, which nothing here asks for.
  if (y < 1860) return -20 + 32 * std::pow((y - 1820) / 100, 2);
  if (y < 1900) {
    double t = y - 1860;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
           0.0004473624 * std::pow(t, 4) + std::pow(t, 5) / 233174;
  }
  if (y < 1920) {
    double t = y - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
           0.000197 * std::pow(t, 4);
  }
  if (y < 1941) {
    double t = y - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (y < 1961) {
    double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  if (y < 1986) {
    double t = y - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
  }
  if (y < 2005) {
    double t = y - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
           0.000651814 * std::pow(t, 4) + 0.00002373599 * std::pow(t, 5);
  }
  if (y < 2050) {
    double t = y - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  if (y < 2150) return -20 + 32 * std::pow((y - 1820) / 100, 2) - 0.5628 * (2150 - y);
  return -20 + 32 * std::pow((y - 1820) / 100, 2);
}

namespace {
double DecimalYear(double jd) {
  return 2000 + (jd - kJ2000) / 365.25;
}
}  // namespace

double UniversalTime(double jde) {
  return jde - DeltaT(DecimalYear(jde)) / 86400;
}

double TerrestrialTime(double jd_ut) {
  // ΔT changes by well under a second a year, so evaluating it at the UT instant is exact
  // enough.
  return jd_ut + DeltaT(DecimalYear(jd_ut)) / 86400;
}

double SunApparentLongitude(double jde) {
  const double tau = (jde - kJ2000) / 365250;
  const double l =
      (Series(kL0, tau) +
       tau *
           (Series(kL1, tau) +
            tau * (Series(kL2, tau) +
                   tau * (Series(kL3, tau) + tau * (Series(kL4, tau) + tau * Series(kL5, tau)))))) *
      1e-8;
  const double r = (Series(kR0, tau) + tau * Series(kR1, tau)) * 1e-8;
  const double t = tau * 10;
  double longitude = l / kDegree + 180;  // geocentric: the Sun seen from the Earth
  longitude += -0.09033 * kArcSecond;    // VSOP87 to the FK5 frame
  longitude += NutationInLongitude(t) * kArcSecond;
  longitude += -20.4898 * kArcSecond / r;  // annual aberration
  return Reduce(longitude);
}

double NewMoon(int k) {
  // Meeus, "Astronomical Algorithms" (2nd ed.), chapter 49: the mean phase (49.1) with the
  // periodic terms of the new moon and the fourteen planetary arguments; a few seconds from
  // the full lunar theory over these centuries. The phases are the instants at which the
  // Moon's apparent longitude exceeds the Sun's by 0 degrees, which is what starts a month.
  const double kk = k;
  const double t = kk / 1236.85;
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  double jde =
      2451550.09766 + kSynodicMonth * kk + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
  const double e = 1 - 0.002516 * t - 0.0000074 * t2;
  const double m = 2.5534 + 29.10535670 * kk - 0.0000014 * t2 - 0.00000011 * t3;
  const double mp =
      201.5643 + 385.81693528 * kk + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
  const double f =
      160.7108 + 390.67050284 * kk - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
  const double om = 124.7746 - 1.56375588 * kk + 0.0020672 * t2 + 0.00000215 * t3;
  jde += -0.40720 * SinDeg(mp) + 0.17241 * e * SinDeg(m) + 0.01608 * SinDeg(2 * mp) +
         0.01039 * SinDeg(2 * f) + 0.00739 * e * SinDeg(mp - m) - 0.00514 * e * SinDeg(mp + m) +
         0.00208 * e * e * SinDeg(2 * m) - 0.00111 * SinDeg(mp - 2 * f) -
         0.00057 * SinDeg(mp + 2 * f) + 0.00056 * e * SinDeg(2 * mp + m) -
         0.00042 * SinDeg(3 * mp) + 0.00042 * e * SinDeg(m + 2 * f) +
         0.00038 * e * SinDeg(m - 2 * f) - 0.00024 * e * SinDeg(2 * mp - m) - 0.00017 * SinDeg(om) -
         0.00007 * SinDeg(mp + 2 * m) + 0.00004 * SinDeg(2 * mp - 2 * f) + 0.00004 * SinDeg(3 * m) +
         0.00003 * SinDeg(mp + m - 2 * f) + 0.00003 * SinDeg(2 * mp + 2 * f) -
         0.00003 * SinDeg(mp + m + 2 * f) + 0.00003 * SinDeg(mp - m + 2 * f) -
         0.00002 * SinDeg(mp - m - 2 * f) - 0.00002 * SinDeg(3 * mp + m) + 0.00002 * SinDeg(4 * mp);
  struct Planetary {
    double a0, ak, coefficient;  // argument a0 + ak k degrees, coefficient in days
  };
  static constexpr Planetary kPlanetary[] = {
      {299.77, 0.107408, 0.000325},  {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
      {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
      {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
      {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
      {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
  };
  for (size_t i = 0; i < std::size(kPlanetary); ++i) {
    double argument = kPlanetary[i].a0 + kPlanetary[i].ak * kk;
    if (i == 0) argument -= 0.009173 * t2;
    jde += kPlanetary[i].coefficient * SinDeg(argument);
  }
  return jde;
}

int LunationNear(double jde) {
  return static_cast<int>(std::lround((jde - 2451550.09766) / kSynodicMonth));
}

double SolarLongitudeInstant(double longitude, double jde_guess) {
  double jde = jde_guess;
  for (int i = 0; i < 20; ++i) {
    double difference = Reduce(longitude - SunApparentLongitude(jde) + 180) - 180;
    double step = difference * kTropicalYear / 360;
    jde += step;
    if (std::fabs(step) < 1e-7) break;  // under 0.01 second
  }
  return jde;
}

int JapanDayNumber(double jde) {
  return static_cast<int>(std::floor(UniversalTime(jde) + 0.5 + 9.0 / 24));
}

double JapanMidnight(int day_number) {
  return TerrestrialTime(day_number - 0.5 - 9.0 / 24);
}

}  // namespace calendar::astronomy
