// MainWindowHosts: where the main window is put together with the windows around it. Each
// window asks for what it needs through a small host interface of its own; one adapter here
// answers each interface from the main window and the application context. Adding a window
// means adding its adapter here, and nothing in the main window's class.
#pragma once

#include "app/archive_host_adapter.h"
#include "app/calendar_host_adapter.h"
#include "app/clock_host_adapter.h"
#include "app/day_entry_host_adapter.h"
#include "app/grid_keys_adapter.h"
#include "app/launcher_host_adapter.h"
#include "app/options_host_adapter.h"
#include "app/search_host_adapter.h"
#include "app/yearly_day_host_adapter.h"

namespace app {

struct MainWindowHosts {
  MainWindowHosts(AppContext& context, TKvrwin& window)
      : archive(context, window),
        calendar(context, window),
        clock(context, window),
        day_entry(context, window),
        grid_keys(window),
        launcher(context, window),
        options(context, window),
        search(context, window),
        yearly_days(window) {}

  ArchiveHostAdapter archive;
  CalendarHostAdapter calendar;
  ClockHostAdapter clock;
  DayEntryHostAdapter day_entry;
  GridKeysAdapter grid_keys;
  LauncherHostAdapter launcher;
  OptionsHostAdapter options;
  SearchHostAdapter search;
  YearlyDayHostAdapter yearly_days;
};

}  // namespace app
