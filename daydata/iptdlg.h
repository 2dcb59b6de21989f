// TIptdlg: the day entry dialog. It edits the text and colour of one day, stepping to the
// previous, next or today's day with the main window following, and keeps beside the day the
// free memo and the ToDo list, which belong to no day. Created once and reused for every day.
#pragma once

#include <QDate>
#include <QDialog>
#include <QFont>
#include <QMessageBox>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "daydata/day_entry_host.h"
#include "daydata/day_store.h"
#include "daydata/light_strings.h"
#include "settings/ini_gt.h"

class QComboBox;
class QHeaderView;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QSplitter;
class QToolButton;
class QPushButton;
class QWidget;

namespace widgets {
class TGradBox;
}

namespace daydata {

class TIptdlg : public QDialog, public DayEntryPort, private DayStoreHost {
  Q_OBJECT

 public:
  // `settings` keeps the dialog's placement, pane division, fonts and colours; `help_file` is
  // what its help button opens.
  TIptdlg(DayEntryHost& host, settings::TIniGT& settings, QString help_file,
          QWidget* parent = nullptr);
  ~TIptdlg() override;

  // Shows the dialog modally for the main window's ShownYear, ShownMonth and ShownDay, or for
  // the calendar's date while FromCalendar is set.
  void OpenDayEntry() override;

  // Handlers, named after their controls.
  void BitBtn1Click();        // OK
  void BitBtn2Click();        // Cancel
  void Button1Click();        // help
  void SpeedButton1Click();   // print the focused pane
  void SpeedButton2Click();   // finish: save and close
  void SpeedButton3Click();   // save, stay open
  void SpeedButton4Click();   // previous day
  void SpeedButton5Click();   // today
  void SpeedButton6Click();   // next day
  void SpeedButton7Click();   // undo
  void SpeedButton8Click();   // cut
  void SpeedButton9Click();   // copy, then paste
  void SpeedButton10Click();  // paste
  void SpeedButton11Click();  // clear all (to the clipboard)
  void SpeedButton12Click();  // font of the focused pane
  void SpeedButton13Click();  // select all
  void SpeedButton14Click();  // background colour of the focused pane
  void ComboBox1Click(int index);
  void HeaderControl1SectionClick(int section);  // "Send ToDo"
  void HeaderControl2SectionClick(int section);  // "削除"
  void Splitter1Moved();
  void Splitter2Moved();

  // Prints the focused pane on `printer` (the print dialog's part is ExecPrintDialog).
  void PrintFocusedPane(QPrinter& printer);

  // State kept between openings.
  std::string CurrentFile;  // file name of the day shown, no folder
  std::string ColourCode = "0";
  QFont DayFont;
  int EditMonth = 0, EditDay = 0;
  bool StepToday = false, StepNext = false, StepPrev = false;
  QDate TodayPick;

  widgets::TGradBox* GradBox1;
  QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton7, *SpeedButton8,
      *SpeedButton9, *SpeedButton10, *SpeedButton11, *SpeedButton12, *SpeedButton13, *SpeedButton14;
  QHeaderView* HeaderControl1;
  QHeaderView* HeaderControl2;
  QHeaderView* HeaderControl3;
  QPlainTextEdit* Memo1;  // the day text
  QListWidget* ListBox1;  // the ToDo list
  QPlainTextEdit* Memo3;  // the memo
  QSplitter* Splitter1;   // day text | ToDo list
  QSplitter* Splitter2;   // centre / memo
  QComboBox* ComboBox1;
  QToolButton *SpeedButton4, *SpeedButton5, *SpeedButton6;
  QPushButton *BitBtn1, *BitBtn2, *Button1;

  // The ToDo list's horizontal scroll extent in pixels.
  int ToDoExtent() const { return todo_extent_; }
  // The memo's and the day text's text as written to their files (code page 932, CR LF).
  std::string DayText() const;
  std::string MemoText() const;

 protected:
  // The modal parts, replaced in tests.
  virtual std::optional<QFont> ChooseFont(const QFont& initial);
  virtual std::optional<QColor> ChooseColour(const QColor& initial);
  virtual bool ExecPrintDialog(QPrinter& printer);
  virtual void OpenHelp(const QString& help_file, int topic);

  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  void FormCreate();
  void FormShow();
  void FormClose();
  bool Memo1KeyDown(int key, Qt::KeyboardModifiers modifiers);  // true: the dialog closed

 private:
  enum class Pane { kNone, kDay, kMemo, kToDo };
  Pane FocusedPane() const;
  QPlainTextEdit* FocusedEditor() const;

  void LoadDay();
  void ResolveDate(QString& title);
  void ApplyTodayTitle(int year, int month, int day, const QString& title);
  bool SaveDayFile();  // false after the error box
  bool SaveMemoFile();
  void RefreshMainWindow();
  void CalendarFollowUp();
  bool OkSaveDay();  // step 1 of OK; false when the save failed
  // 保存しますか about unsaved edits of the day text and/or the memo.
  QMessageBox::StandardButton AskSave(bool day, bool memo);
  // Before a day step: saves or drops unsaved edits as the user says; false: stay on the day.
  bool SettleDayBeforeStep();
  // Edits not yet in the files. The modified marks alone do not tell: 保存 keeps them set.
  bool DayUnsaved() const;
  bool MemoUnsaved() const;
  void MainWindowFollows();
  void LoadLists();
  void UpdateToDoExtent();
  void FillToDo(const std::vector<std::string>& items);
  void UpdateScrollBars(QPlainTextEdit* editor);
  void SetDayTextColour(const QColor& colour);
  void ReadPaneColours();

  // DayStoreHost: the notices of a folder made at the first save.
  void Notice(const std::string& text_utf8, const std::string& caption_utf8) override;
  void DataDirRecreated(const std::filesystem::path& data_dir) override;

  DayEntryHost& host_;
  settings::TIniGT& settings_;
  const QString help_file_;
  std::vector<std::string> todo_items_;  // the list's entries as code page 932 bytes
  int todo_extent_ = 60;
  bool reload_same_day_ = false;
  QString title_;
  bool loading_ = false;
  // The day text as the editor showed it when last loaded or saved (shared with the editor's
  // copy, so a large day is not converted back just in case it gets edited), and its colour
  // and the memo as last loaded or saved (code page 932, CR LF).
  QString saved_day_;
  std::string saved_colour_, saved_memo_;
};

}  // namespace daydata
