// TTimeClock: the small borderless desktop clock that stays above other windows. It shows the
// date in the era style and the time, brings the main window to the new day at midnight, rings
// the two daily alarms with the chosen sound file, and every five minutes has the main window
// start its status line again. It talks to the main window only through TimeClockHost.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>

#include "clock/time_source.h"
#include "platform/sound_player.h"
#include "settings/ini_gt.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QToolButton;

namespace timeclock {

class TClockLabel;
class TimeClockHost;

class TTimeClock : public QWidget {
  Q_OBJECT

 public:
  // `settings` keeps the placement, font, colours, alarms and sound; `data_dir` is the data
  // folder in use (the context's, which follows the folder tool), whose day file gives an
  // alarm's notice its first line; `help_file` opens at the help button.
  TTimeClock(TimeClockHost& host, settings::TIniGT& settings, const std::filesystem::path& data_dir,
             QString help_file, TimeSource& time = SystemTime(), QWidget* parent = nullptr);
  ~TTimeClock() override;

  // The window's heights with the alarm panel hidden and shown; a font too large for them
  // makes both taller by what the two lines need.
  static constexpr int kCollapsedHeight = 45;
  static constexpr int kExpandedHeight = 250;
  static constexpr int kWidth = 183;
  // The sound stops after this many ticks of the sound timer at the latest.
  static constexpr int kSoundTicks = 60;
  static constexpr int kSoundTickMs = 50;
  static constexpr long kSoundLimitMs = long{kSoundTicks} * kSoundTickMs;
  // The sound file filter of the open dialog.
  static QString SoundFilter();

  // Handlers, named after their controls.
  void ClockLabel1Alarm(int index);
  void ClockLabel1TimeCast(int index);
  void SpeedButton1Click(bool down);  // the alarm panel
  void Button1Click();                // choose and preview a sound file
  void BitBtn1Click();                // keep the chosen sound file
  void Button2Click();                // store the alarms
  void BitBtn2Click();                // clear the alarm times
  void Button3Click();                // help
  void N1Click();                     // date colour
  void N2Click();                     // date and window background
  void N3Click();                     // time colour
  void N4Click();                     // time background
  void N5Click();                     // font
  void Timer1Timer();
  void Timer2Timer();

  // What the user picks in the standard dialogs; tests replace them. Each returns false when
  // the user cancels.
  std::function<bool(QString& file)> ChooseSoundFile;
  std::function<bool(QColor& colour)> ChooseColour;
  std::function<bool(QFont& font)> ChooseFont;

  // Designer controls.
  QLabel* Label1;
  TClockLabel* ClockLabel1;
  QToolButton* SpeedButton1;
  QLineEdit* MaskEdit1;
  QLineEdit* MaskEdit2;
  QPushButton* Button1;
  QPushButton* BitBtn1;
  QPushButton* Button2;
  QPushButton* BitBtn2;
  QPushButton* Button3;
  QToolButton* MediaPlayerButton;  // the media player's play button
  QLabel* SoundLabel;              // the chosen sound file's name
  platform::TSoundPlayer* MediaPlayer1;
  QTimer* Timer1;  // null once it has given the focus back
  QTimer* Timer2;
  QMenu* PopupMenu1;

  int SoundTickCount() const { return tick_count_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FormCreate();
  void FormClose();
  void ReadColours();
  void ApplyColours();
  void ApplyFont();
  void LayOut();
  int CollapsedHeight() const;
  bool StoreAlarms();  // false: a time was refused and nothing stored
  void WritePlacement();
  void DragEnded();
  bool OpenAndPlay(const QString& file);
  void NotifyAlarm(int index);
  // Brings the main window and the calendar to today, once a day.
  void TellNewDay();
  QString FieldText(const QLineEdit* field) const;
  // Reads a colour key with `current` as default, offers it in the colour dialog, and writes
  // and returns the choice; false when cancelled.
  bool PickColour(const settings::Key& key, QColor& current);
  // Runs a settings write, showing the standard error box when the file cannot be written.
  template <typename Write>
  void Guarded(Write write);

  TimeClockHost& host_;
  settings::TIniGT& settings_;
  const std::filesystem::path& data_dir_;
  const QString help_file_;
  QFont clock_font_;
  QColor clock_color_, clock_back_color_, date_color_, date_back_color_;
  QString sound_dialog_file_;  // the open dialog's current file name
  int tick_count_ = 0;
  LocalTime told_day_;
  bool placement_written_ = false;
  // Moving by hand where the window manager cannot move it for us.
  bool dragging_ = false;
  QPoint drag_offset_;
  QTimer* system_move_end_ = nullptr;  // a system move ends when the moves stop
  bool system_moving_ = false;
};

}  // namespace timeclock
