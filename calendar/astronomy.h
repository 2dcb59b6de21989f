// The few pieces of positional astronomy the lunisolar calendar needs: ΔT, the Sun's apparent
// ecliptic longitude, the instants of the new moons and of given solar longitudes, and the
// civil date in Japan (UT+9) of an instant. Plain functions on Julian Days: "jde" is in
// Terrestrial Time, "jd" in Universal Time.
#pragma once

namespace calendar::astronomy {

inline constexpr double kJ2000 = 2451545.0;

// TT - UT in seconds for a decimal year, from the polynomials of Espenak and Meeus ("Five
// Millennium Canon of Solar Eclipses", NASA/TP-2006-214141), which cover 1860-2150 piecewise.
double DeltaT(double decimal_year);
double UniversalTime(double jde);      // TT -> UT
double TerrestrialTime(double jd_ut);  // UT -> TT, by one fixed-point step

// The Sun's apparent geocentric longitude in degrees [0, 360) at `jde`, for the true equinox of
// date: VSOP87D Earth, nutation in longitude and annual aberration.
double SunApparentLongitude(double jde);

// The instant (TT) of the new moon of lunation `k` (k = 0 is the new moon of 6 January 2000),
// from the mean phase and its periodic and planetary corrections.
double NewMoon(int k);
// The lunation number whose mean new moon lies nearest to `jde`.
int LunationNear(double jde);

// The instant (TT) near `jde_guess` (within some days) at which the Sun's apparent longitude
// equals `longitude` degrees.
double SolarLongitudeInstant(double longitude, double jde_guess);

// The Julian Day Number of the date in Japan (UT+9) at the instant `jde`.
int JapanDayNumber(double jde);
// The instant (TT) at which that date begins, 00:00 Japan time.
double JapanMidnight(int day_number);

}  // namespace calendar::astronomy
