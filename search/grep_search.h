// TGrepSearch: the modal search dialog "検索". It searches the day files of one year, or of
// every year folder, for a regular expression, lists each matching line with its date in date
// order, and moves the main window to the day of a chosen line. The search runs on a worker
// thread; its results reach the list in batches while the dialog stays usable, and "中断" or
// closing the dialog stops it.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "search/grep_search_worker.h"
#include "settings/ini_gt.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;

namespace search {

class GrepSearchHost;

class TGrepSearch : public QDialog {
  Q_OBJECT

 public:
  // `settings` holds the link switch and the result list's colour; `help_file` is what the help
  // button opens.
  TGrepSearch(GrepSearchHost& host, settings::TIniGT& settings, QString help_file,
              QWidget* parent = nullptr);
  ~TGrepSearch() override;

  void Button1Click();  // "検索": the chosen year
  void Button6Click();  // "全データ検索": every year folder
  void Button2Click();  // "中断"
  void Button3Click();  // "JUMP": jump, then close
  void Button4Click();  // "消去"
  void Button5Click();  // "ＯＫ"
  void Button7Click();  // "ﾍﾙﾌﾟ"
  void CheckBox1Click();
  void ListBox1Click();
  void ListBox1DblClick();

  // True while a search runs on the worker.
  bool Searching() const { return worker_.Busy(); }
  // Takes what the worker has found into the list at once (the timer does it every 50 ms).
  void DrainResults();
  // The result lines as code page 932, in the list's order.
  const std::vector<std::string>& ResultLines() const { return lines_; }

  QComboBox* RetComboBox2;
  QSpinBox* CSpinEdit1;
  QPushButton* Button1;
  QPushButton* Button6;
  QPushButton* Button2;
  QPushButton* Button4;
  QLineEdit* Memo1;
  QListWidget* ListBox1;
  QCheckBox* CheckBox1;
  QPushButton* Button3;
  QPushButton* Button5;
  QPushButton* Button7;
  QLabel* ProgressLabel;  // the folder being searched and the files done of all
  QProgressBar* ProgressBar;

 signals:
  // A search has ended (finished, stopped or refused) and the dialog shows its outcome.
  void SearchFinished();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  void FormShow();
  void FormClose();

 private:
  void StartSearch(bool all_years);
  void AddResults(std::vector<std::string> lines);
  void ShowProgress(const DaySearchProgress& progress);
  void Finish(const GrepSearchWorker::Batch& end);
  void Jump();
  void StopSearch();
  void ShowCount();
  void ClearList();

  GrepSearchHost& host_;
  settings::TIniGT& settings_;
  const QString help_file_;
  GrepSearchWorker worker_;
  QTimer* drain_timer_;
  std::vector<std::string> lines_;  // the list's lines as code page 932, sorted
  int widest_ = 0;                  // the widest line's text width in the list
  QString searched_text_;
  bool all_years_ = false;
  bool closing_ = false;
};

}  // namespace search
