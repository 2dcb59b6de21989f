// The calendar knowledge Mirune computes, as iCalendar feeds that any calendar can import or
// subscribe to: the national holidays under the law in force on each date, with the law's
// names; the rokuyou of every day and the 24 solar terms, by the accurate lunisolar calendar.
// Every event is all-day and transparent, so none of them ever blocks time.
#pragma once

#include <ctime>
#include <string>

namespace ical {

struct FeedChoice {
  bool holidays = false;
  bool rokuyou = false;
  bool solar_terms = false;
};

// The years a feed can cover: those of the accurate calendar (the holiday law itself starts
// in 1948; earlier years simply have no holidays).
int FeedFirstYear();
int FeedLastYear();

// One calendar holding the chosen feeds for first_year..last_year (within the years above).
std::string CalendarFeed(const FeedChoice& choice, int first_year, int last_year,
                         std::time_t stamp);

}  // namespace ical
