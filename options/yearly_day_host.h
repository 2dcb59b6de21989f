// SpecialDayHost: what the options dialog's page "特別日" needs of the main window: the year
// and month on display, today's year, the half-month switch and the month rebuild that shows
// freshly written labels. The main window implements it (app/yearly_day_host_adapter.cpp);
// the page's tests use a small fake.
#pragma once

namespace options {

class SpecialDayHost {
 public:
  virtual ~SpecialDayHost() = default;

  // The year and month the main window shows; the labels go into that year.
  virtual int SpecialShownYear() const = 0;
  virtual int SpecialShownMonth() const = 0;
  // Today's year, the year box's preset.
  virtual int SpecialCurrentYear() = 0;
  virtual bool SpecialHalfMonth() const = 0;
  // Rebuilds the month, which also puts the working directory back into the shown year.
  virtual void SpecialRebuildMonth() = 0;
};

}  // namespace options
