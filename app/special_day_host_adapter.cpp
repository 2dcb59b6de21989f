#include "app/special_day_host_adapter.h"

#include "app/kvrwin.h"

namespace app {

int SpecialDayHostAdapter::SpecialShownYear() const {
  return window_.cursor_.Year();
}

int SpecialDayHostAdapter::SpecialShownMonth() const {
  return window_.cursor_.Month();
}

int SpecialDayHostAdapter::SpecialCurrentYear() {
  return window_.CurrentToday().year();
}

bool SpecialDayHostAdapter::SpecialHalfMonth() const {
  return window_.cursor_.HalfMonth();
}

void SpecialDayHostAdapter::SpecialRebuildMonth() {
  window_.BuildMonth();
}

}  // namespace app
