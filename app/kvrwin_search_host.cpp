// The main window as the search dialog's host: its data folder, shown year and display mode,
// the move to a result's day, the dialog's two settings and the help file.
#include <system_error>

#include "app/kvrwin.h"
#include "platform/message_box.h"
#include "search/grep_search.h"

namespace app {

void TKvrwin::SearchJumpTo(const search::SearchJump& jump) {
  // The jump is written for the arrangement with the previous month's second half on the left;
  // from the other one the grid rows would name days of the wrong months.
  if (cursor_.HalfMonth()) cursor_.SetHalves(true, false);
  cursor_.SetDate(jump.year, jump.month, jump.day);
  BuildMonth();
  SelectGridRow(jump.grid, jump.row);
}

settings::ColourValue TKvrwin::ReadSearchColour(const settings::Key& key) const {
  return IniGT1->Store().ReadColour(key);
}

int TKvrwin::ReadSearchInteger(const settings::Key& key) const {
  return IniGT1->Store().ReadInteger(key);
}

void TKvrwin::WriteSearchInteger(const settings::Key& key, int value) {
  try {
    IniGT1->Store().WriteInteger(key, value);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

void TKvrwin::SpeedButton12Click() {
  search::TGrepSearch dialog(*this, this);
  dialog.exec();
}

}  // namespace app
