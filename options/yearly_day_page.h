// TSpecialDayPage: the options dialog's page "特別日". It keeps the birthday list and the list of
// yearly special days of the start-up folder, and writes their labels into the day files of the
// year the main window shows, which is the only way they ever reach the month grid. The dialog
// makes the page when it is opened and frees it when it closes; the page loads both lists as it
// is made.
#pragma once

#include <QWidget>

#include "daydata/yearly_day_list.h"
#include "options/yearly_day_host.h"
#include "settings/ini_gt.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace options {

class TSpecialDayPage : public QWidget {
  Q_OBJECT

 public:
  // `settings` holds the birthday suffix and names the data folder the labels go to;
  // `data_dir`, the folder in use, stands in while it names none. The two list files lie in
  // `startup_dir`.
  TSpecialDayPage(SpecialDayHost& host, settings::TIniGT& settings,
                  std::filesystem::path startup_dir, std::filesystem::path data_dir,
                  QString help_file, QWidget* parent = nullptr);
  ~TSpecialDayPage() override;

  // Presets the year and month boxes and reads both list files into their boxes.
  void LoadSpecialLists();

  // Handlers, named after their controls.
  void Button11Click();  // add a birthday
  void Button12Click();  // delete the shown birthday
  void Button13Click();  // write every birthday into the shown year
  void Button14Click();  // add a special day
  void Button15Click();  // delete the shown special day
  void Button16Click();  // write every special day into the shown year
  void ComboBox7Change();
  void HelpButtonClick();  // help topic 20

  QGroupBox* GroupBox1;  // "誕生日の入力"
  QSpinBox* CSpinEdit1;  // year of birth
  QComboBox* ComboBox1;  // birth month
  QComboBox* ComboBox2;  // birth day
  QLineEdit* Edit1;      // name
  QComboBox* ComboBox7;  // name suffix
  QComboBox* ComboBox3;  // the birthday list, sorted, read only
  QPushButton* Button11;
  QPushButton* Button12;
  QPushButton* Button13;
  QGroupBox* GroupBox2;  // "他の特別日"
  QComboBox* ComboBox4;  // month
  QComboBox* ComboBox5;  // day
  QComboBox* ComboBox6;  // the special-day list, and in its edit field the subject
  QPushButton* Button14;
  QPushButton* Button15;
  QPushButton* Button16;
  QPushButton* HelpButton;

 private:
  void BuildControls();
  // The checks of an add, with their messages; the record when it may be added.
  std::optional<std::string> CheckedRecord(daydata::SpecialDayList& list, const QString& month,
                                           const QString& day, const QString& text,
                                           const QString& year_text);
  bool SaveAndReload(daydata::SpecialDayList& list, QComboBox* box);
  void Fill(QComboBox* box, const daydata::SpecialDayList& list);
  void WriteList(daydata::SpecialDayList& list, const std::string& suffix);
  std::filesystem::path ListPath(const daydata::SpecialDayList& list) const;
  void Caution(const QString& text);

  // The data folder as the settings file names it now, read again for every write.
  std::filesystem::path DataDir() const;

  SpecialDayHost& host_;
  settings::TIniGT& settings_;
  const std::filesystem::path startup_dir_, data_dir_;
  const QString help_file_;
  daydata::SpecialDayList birthdays_{daydata::SpecialListKind::kBirthday};
  daydata::SpecialDayList special_days_{daydata::SpecialListKind::kSpecialDay};
  int suffix_index_ = -1;  // the choice last written, so that typing writes only changes
};

}  // namespace options
