// What the options dialog reads of the main window and asks of it, and nothing more: the
// switches, the colours it previews, the date column, the title, the
// maxims and the status line, and the reload that Cancel asks for. The main window implements
// it (app/kvrwin_options_host.cpp); the dialog's tests give it a host of their own.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

#include "options/option_switches.h"
#include "settings/schema.h"

class QWidget;

namespace options {

class OptionsHost {
 public:
  virtual ~OptionsHost() = default;

  // The switches as the main window holds them; setting them redraws the month at once.
  virtual OptionSwitches Switches() const = 0;
  virtual void SetSwitches(const OptionSwitches& switches) = 0;

  // A colour key of the main window (cursor, cells, date column, today, title text, the two
  // gradients, the status line): its current value, and a value shown at once without being
  // written.
  virtual settings::ColourValue OptionsColour(const settings::Key& key) const = 0;
  virtual void PreviewColour(const settings::Key& key, settings::ColourValue colour) = 0;
  // The font the window uses now for a font key, the default when the dialog reads the file.
  virtual QFont OptionsFont(const settings::Key& key) const = 0;

  // The date column of both grids: its width now, the grids' default column width, and a
  // width shown at once (written by OK).
  virtual int DateColumnWidth() const = 0;
  virtual int DefaultColumnWidth() const = 0;
  virtual void PreviewDateColumnWidth(int width) = 0;
  virtual int RowHeightSetting() const = 0;  // kept and written back by OK

  virtual QString TitleText() const = 0;  // the month title as shown

  // The maxims loaded now, and the new ones after a file was chosen (the status line starts
  // over with them). RestartStatusLine runs the status line with the stored speed.
  virtual QStringList OptionsMaximLines() const = 0;
  virtual void SetMaximLines(const QStringList& lines) = 0;
  virtual void RestartStatusLine() = 0;

  // After OK: the fonts written are taken into use. After Cancel: every colour, font and
  // width comes back from the settings file and the window is redrawn.
  virtual void AppearanceWritten() = 0;
  virtual void ReloadAppearance() = 0;
};

}  // namespace options
