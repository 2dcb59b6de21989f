// The day entry dialog's steps to the next and the previous day, free of Qt: which day comes
// next, whether the main window must move a month with it, and the year the day file goes into.
#pragma once

namespace daydata {

struct DayStep {
  int month = 0, day = 0;
  int year = 0;        // the year of the day file (changes across a year's end)
  int month_step = 0;  // -1, 0 or +1: the main window moves with the dialog
};

// `year` is the year of the day handed over, `shown_year`/`shown_month` the main window's shown
// month and `day` the day the dialog shows.
DayStep NextDay(int year, int shown_year, int shown_month, int day);
DayStep PrevDay(int year, int shown_year, int shown_month, int day);

}  // namespace daydata
