// Toption1: the options dialog. It edits the main window's days off, holiday and rokuyou
// display, calendar choices, colours, fonts, date column, cursor row, status line and maxims
// file, mouse gesture and the entry dialog's closing key. Switches are written the moment they
// are clicked and shown at once; colours and fonts are previewed and written by OK, and
// Cancel takes everything back from the settings file.
#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

#include <map>
#include <optional>

#include "options/option_switches.h"
#include "options/options_host.h"
#include "settings/ini_gt.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace options {

class Toption1 : public QDialog {
  Q_OBJECT

 public:
  // `settings` is the settings file the dialog reads and OK writes; `help_file` the help its
  // pages open.
  Toption1(OptionsHost& host, settings::TIniGT& settings, QString help_file,
           QWidget* parent = nullptr);

  // Puts the birthday and special-day page in as the second page, "特別日".
  void InsertSpecialDayPage(QWidget* page);

  // The working values OK writes.
  const QFont& WorkingFont(const settings::Key& key) const;
  settings::ColourValue InputTitleColour(bool today) const {
    return today ? inptaitol_1_ : inptaitol_2_;
  }

  QTabWidget* PageControl1;
  // "休日及び六曜"
  QRadioButton* RadioButton1;  // 日曜日のみ
  QRadioButton* RadioButton2;  // 週休２日
  QRadioButton* RadioButton3;  // 他の曜日
  QGroupBox* GroupBox2;        // the seven weekday boxes
  QCheckBox* WeekdayBox[7];    // 日 .. 土
  QCheckBox* CheckBox8;        // holidays shown
  QCheckBox* CheckBox9;        // holidays are days off
  QCheckBox* CheckBox10;       // rokuyou shown
  QRadioButton* HolidayLawButton;
  QRadioButton* HolidayTableButton;
  QRadioButton* LunarAccurateButton;
  QRadioButton* LunarSeriesButton;
  // "画面色・フォント等"
  QSlider* TrackBar1;     // 曜日幅変更
  QCheckBox* CheckBox11;  // カーソル行拡大
  QSlider* TrackBar2;     // 行高さ変更
  QListWidget* ListBox1;  // the display items
  QPushButton* Button1;   // 色変更１
  QPushButton* Button2;   // 色変更２
  QPushButton* Button3;   // フォント変更
  QLabel* Label1;         // colour 1's caption
  QLabel* Label2;         // colour 2's caption
  QFrame* Panel1;         // colour 1's sample
  QFrame* Panel2;         // colour 2's sample
  QLabel* Panel3;         // the font sample
  // "ｽｸﾛｰﾙ文字表示"
  QCheckBox* CheckBox12;  // ｽｸﾛｰﾙ文字を表示しない
  QPushButton* Button4;   // ﾌｧｲﾙ読込
  QPlainTextEdit* Memo1;  // the maxims loaded
  QSlider* TrackBar3;     // スクロールスピード調整
  // "その他"
  QCheckBox* CheckBox13;            // マウスのシングルクリック
  QRadioButton* CloseKeyButton[4];  // Tab+Enter, Ctrl, Shift, Enter
  QPushButton* OKButton;
  QPushButton* CancelButton;

  // The close keys in the order of their buttons.
  static constexpr int kCloseKeys[4] = {0, 17, 16, 13};

 public slots:
  void RestDayClicked();  // any control of the days-off and holiday groups
  void CheckBox10Click();
  void CalendarChoiceClicked();
  void TrackBar1Change(int position);
  void CheckBox11Click();
  void TrackBar2Change(int position);
  void ListBox1Click();
  void ColourButtonClick(int which);  // 1 or 2
  void Button3Click();
  void CheckBox12Click();
  void Button4Click();
  void TrackBar3Change(int position);
  void CheckBox13Click();
  void CloseKeyClick(int index);
  void OKButtonClick();
  void CancelButtonClick();

 protected:
  // The standard pickers; tests answer them.
  virtual std::optional<QColor> ChooseColour(const QColor& initial);
  virtual std::optional<QFont> ChooseFont(const QFont& initial);
  virtual QString ChooseMaximsFile();
  virtual void OpenHelp(const QString& file, int topic);

  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override;  // Escape and the window's close button cancel too

  void FormCreate();
  void FormShow();

 private:
  QWidget* BuildHolidayPage();
  QWidget* BuildAppearancePage();
  QWidget* BuildStatusLinePage();
  QWidget* BuildOtherPage();
  QPushButton* WithHelpButton(QWidget* page, int topic);
  void ShowRestDays();
  void ShowCloseKey();
  void ShowItemColours();
  settings::ColourValue CurrentColour(const settings::Key& key) const;
  // Writes through the settings file; a failed write is reported and false.
  template <class Write>
  bool Store(Write write);
  void Apply();

  OptionsHost& host_;
  settings::TIniGT& settings_;
  const QString help_file_;
  OptionSwitches switches_;
  std::map<const settings::Key*, QFont> fonts_;
  settings::ColourValue inptaitol_1_ = 0, inptaitol_2_ = 0;
  QButtonGroup* rest_group_;
  QButtonGroup* close_key_group_;
};

}  // namespace options
