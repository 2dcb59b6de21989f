#include "app/yearly_day_host_adapter.h"

#include "app/kvrwin.h"

namespace app {

int YearlyDayHostAdapter::SpecialShownYear() const {
  return window_.cursor_.Year();
}

int YearlyDayHostAdapter::SpecialShownMonth() const {
  return window_.cursor_.Month();
}

int YearlyDayHostAdapter::SpecialCurrentYear() {
  return window_.CurrentToday().year();
}

bool YearlyDayHostAdapter::SpecialHalfMonth() const {
  return window_.cursor_.HalfMonth();
}

void YearlyDayHostAdapter::SpecialRebuildMonth() {
  window_.BuildMonth();
}

}  // namespace app
