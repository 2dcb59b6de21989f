#include "options/yearly_day_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <system_error>

#include "daydata/day_store.h"
#include "daydata/light_strings.h"
#include "platform/cp932_question.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "settings/settings_location.h"

namespace options {
namespace {

using daydata::SpecialListKind;
using daydata::SpecialRefusal;

QComboBox* NumberBox(QWidget* parent, const char* name, int last) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (int n = 1; n <= last; ++n) box->addItem(QString::number(n));
  box->setCurrentIndex(-1);
  return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text, const QString& hint) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  return button;
}

QLabel* Caption(const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, buddy->parentWidget());
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TSpecialDayPage::TSpecialDayPage(SpecialDayHost& host, settings::TIniGT& settings,
                                 std::filesystem::path startup_dir, std::filesystem::path data_dir,
                                 QString help_file, QWidget* parent)
    : QWidget(parent),
      host_(host),
      settings_(settings),
      startup_dir_(std::move(startup_dir)),
      data_dir_(std::move(data_dir)),
      help_file_(std::move(help_file)) {
  setObjectName("SpecialDayPage");
  setWindowTitle(QStringLiteral("特別日"));
  BuildControls();
  LoadSpecialLists();
}

TSpecialDayPage::~TSpecialDayPage() = default;

void TSpecialDayPage::BuildControls() {
  GroupBox1 = new QGroupBox(QStringLiteral("誕生日の入力"), this);
  GroupBox1->setObjectName("GroupBox1");
  CSpinEdit1 = new QSpinBox(GroupBox1);
  CSpinEdit1->setObjectName("CSpinEdit1");
  CSpinEdit1->setRange(1800, 2099);
  ComboBox1 = NumberBox(GroupBox1, "ComboBox1", 12);
  ComboBox2 = NumberBox(GroupBox1, "ComboBox2", 31);
  Edit1 = new QLineEdit(GroupBox1);
  Edit1->setObjectName("Edit1");
  // Names are typed in Japanese.
  Edit1->setAttribute(Qt::WA_InputMethodEnabled, true);
  ComboBox7 = new QComboBox(GroupBox1);
  ComboBox7->setObjectName("ComboBox7");
  ComboBox7->setEditable(true);
  ComboBox7->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view suffix : daydata::kBirthdaySuffixesUtf8) {
    ComboBox7->addItem(QString::fromUtf8(suffix.data(), static_cast<int>(suffix.size())));
  }
  ComboBox3 = new QComboBox(GroupBox1);
  ComboBox3->setObjectName("ComboBox3");
  ComboBox3->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBox3->setMinimumContentsLength(24);
  Button11 = Button(GroupBox1, "Button11", QStringLiteral("登録"),
                    QStringLiteral("誕生日をリストに登録します"));
  Button12 = Button(GroupBox1, "Button12", QStringLiteral("削除"),
                    QStringLiteral("誕生日をリストから削除します"));
  Button13 = Button(GroupBox1, "Button13", QStringLiteral("誕生日"),
                    QStringLiteral("登録したデータを予定表に書込ます"));

  auto* birth = new QGridLayout(GroupBox1);
  auto* date = new QHBoxLayout;
  date->addWidget(CSpinEdit1);
  date->addWidget(Caption(QStringLiteral("年"), CSpinEdit1));
  date->addWidget(ComboBox1);
  date->addWidget(Caption(QStringLiteral("月"), ComboBox1));
  date->addWidget(ComboBox2);
  date->addWidget(Caption(QStringLiteral("日生まれ"), ComboBox2));
  date->addStretch();
  birth->addLayout(date, 0, 0, 1, 3);
  birth->addWidget(Caption(QStringLiteral("名　前"), Edit1), 1, 0);
  birth->addWidget(Edit1, 1, 1);
  birth->addWidget(ComboBox7, 1, 2);
  birth->addWidget(Caption(QStringLiteral("誕生日リスト一覧（読込専用）"), ComboBox3), 2, 0, 1, 3);
  birth->addWidget(ComboBox3, 3, 0, 1, 3);
  auto* birth_buttons = new QHBoxLayout;
  birth_buttons->addWidget(Button11);
  birth_buttons->addWidget(Button12);
  birth_buttons->addStretch();
  birth_buttons->addWidget(Button13);
  birth->addLayout(birth_buttons, 4, 0, 1, 3);
  birth->setColumnStretch(1, 1);

  GroupBox2 = new QGroupBox(QStringLiteral("他の特別日"), this);
  GroupBox2->setObjectName("GroupBox2");
  ComboBox4 = NumberBox(GroupBox2, "ComboBox4", 12);
  ComboBox5 = NumberBox(GroupBox2, "ComboBox5", 31);
  ComboBox6 = new QComboBox(GroupBox2);
  ComboBox6->setObjectName("ComboBox6");
  ComboBox6->setEditable(true);
  ComboBox6->setInsertPolicy(QComboBox::NoInsert);
  ComboBox6->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ComboBox6->setMinimumContentsLength(24);
  Button14 = Button(GroupBox2, "Button14", QStringLiteral("登録"),
                    QStringLiteral("１年ごとの行事をリストに登録します"));
  Button15 = Button(GroupBox2, "Button15", QStringLiteral("削除"),
                    QStringLiteral("１年ごとの行事データをリストから削除します"));
  Button16 = Button(GroupBox2, "Button16", QStringLiteral("特別日"),
                    QStringLiteral("１年ごとのデータを予定表に書込ます"));
  auto* special = new QGridLayout(GroupBox2);
  auto* special_date = new QHBoxLayout;
  special_date->addWidget(new QLabel(QStringLiteral("特別日指定(１年毎）"), GroupBox2));
  special_date->addWidget(ComboBox4);
  special_date->addWidget(Caption(QStringLiteral("月"), ComboBox4));
  special_date->addWidget(ComboBox5);
  special_date->addWidget(Caption(QStringLiteral("日"), ComboBox5));
  special_date->addStretch();
  special->addLayout(special_date, 0, 0);
  special->addWidget(Caption(QStringLiteral("件　名　入　力"), ComboBox6), 1, 0);
  special->addWidget(ComboBox6, 2, 0);
  auto* special_buttons = new QHBoxLayout;
  special_buttons->addWidget(Button14);
  special_buttons->addWidget(Button15);
  special_buttons->addStretch();
  special_buttons->addWidget(Button16);
  special->addLayout(special_buttons, 3, 0);

  HelpButton = Button(this, "HelpButton", QStringLiteral("ﾍﾙﾌﾟ"), QString());
  auto* page = new QVBoxLayout(this);
  page->addWidget(GroupBox1);
  page->addWidget(GroupBox2);
  page->addStretch();
  auto* help = new QHBoxLayout;
  help->addStretch();
  help->addWidget(HelpButton);
  page->addLayout(help);

  connect(Button11, &QPushButton::clicked, this, &TSpecialDayPage::Button11Click);
  connect(Button12, &QPushButton::clicked, this, &TSpecialDayPage::Button12Click);
  connect(Button13, &QPushButton::clicked, this, &TSpecialDayPage::Button13Click);
  connect(Button14, &QPushButton::clicked, this, &TSpecialDayPage::Button14Click);
  connect(Button15, &QPushButton::clicked, this, &TSpecialDayPage::Button15Click);
  connect(Button16, &QPushButton::clicked, this, &TSpecialDayPage::Button16Click);
  connect(HelpButton, &QPushButton::clicked, this, &TSpecialDayPage::HelpButtonClick);
  connect(ComboBox7, &QComboBox::currentTextChanged, this, &TSpecialDayPage::ComboBox7Change);
}

void TSpecialDayPage::LoadSpecialLists() {
  CSpinEdit1->setValue(host_.SpecialCurrentYear());
  ComboBox1->setCurrentIndex(host_.SpecialShownMonth() - 1);
  birthdays_.Clear();
  birthdays_.Load(ListPath(birthdays_));
  Fill(ComboBox3, birthdays_);
  // The choice is shown without being written back.
  suffix_index_ =
      settings_.Store().ReadInteger(settings::keys::BirthdaySuffix, ComboBox7->currentIndex());
  {
    QSignalBlocker quiet(ComboBox7);
    ComboBox7->setCurrentIndex(
        suffix_index_ >= 0 && suffix_index_ < ComboBox7->count() ? suffix_index_ : -1);
    if (ComboBox7->currentIndex() < 0) ComboBox7->setEditText(QString());
  }
  special_days_.Clear();
  special_days_.Load(ListPath(special_days_));
  Fill(ComboBox6, special_days_);
}

std::filesystem::path TSpecialDayPage::ListPath(const daydata::SpecialDayList& list) const {
  return daydata::SpecialListPath(startup_dir_, list.Kind());
}

void TSpecialDayPage::Fill(QComboBox* box, const daydata::SpecialDayList& list) {
  QSignalBlocker quiet(box);
  box->clear();
  for (const std::string& record : list.Sorted()) box->addItem(platform::ToQString(record));
  box->setCurrentIndex(box->count() > 0 ? 0 : -1);
  if (box->isEditable() && box->count() == 0) box->setEditText(QString());
}

void TSpecialDayPage::Caution(const QString& text) {
  platform::ShowMessage(this, text, QStringLiteral("注意"), platform::MessageIcon::kExclamation);
}

std::optional<std::string> TSpecialDayPage::CheckedRecord(daydata::SpecialDayList& list,
                                                          const QString& month, const QString& day,
                                                          const QString& text,
                                                          const QString& year_text) {
  const bool birthday = list.Kind() == SpecialListKind::kBirthday;
  const std::string bytes = platform::ToCp932(text);
  const std::string month_bytes = platform::ToCp932(month), day_bytes = platform::ToCp932(day);
  const std::string record =
      birthday ? daydata::BirthdayRecord(year_text.toInt(), month_bytes, day_bytes, bytes)
               : daydata::SpecialDayRecord(month_bytes, day_bytes, bytes);
  switch (list.Check(host_.SpecialHalfMonth(), month_bytes, day_bytes, bytes, record)) {
    case SpecialRefusal::kHalfMonth:
      Caution(birthday ? QStringLiteral("半月表示時は、誕生日入力はできません！")
                       : QStringLiteral("半月表示時は、特別日入力はできません！"));
      return std::nullopt;
    case SpecialRefusal::kMissingField:
      Caution(QStringLiteral("入力されていない項目があります！"));
      return std::nullopt;
    case SpecialRefusal::kImpossibleDate:
      Caution(QStringLiteral("%1月%2日という日付はありません！").arg(month, day));
      return std::nullopt;
    case SpecialRefusal::kDuplicate:
      Caution(QStringLiteral("すでに登録されています！"));
      return std::nullopt;
    case SpecialRefusal::kNone:
      break;
  }
  // A character the list file cannot hold would be stored as "?": only when the user says so.
  if (!platform::ConfirmCp932Save(this, text)) return std::nullopt;
  return record;
}

bool TSpecialDayPage::SaveAndReload(daydata::SpecialDayList& list, QComboBox* box) {
  bool saved = true;
  try {
    list.Save(ListPath(list));
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromUtf8(e.what()));
    saved = false;
  }
  list.Load(ListPath(list));
  Fill(box, list);
  return saved;
}

void TSpecialDayPage::Button11Click() {
  std::optional<std::string> record =
      CheckedRecord(birthdays_, ComboBox1->currentText(), ComboBox2->currentText(), Edit1->text(),
                    CSpinEdit1->text());
  if (!record) return;
  birthdays_.Append(std::move(*record));
  SaveAndReload(birthdays_, ComboBox3);
  host_.SpecialRebuildMonth();
}

void TSpecialDayPage::Button14Click() {
  std::optional<std::string> record =
      CheckedRecord(special_days_, ComboBox4->currentText(), ComboBox5->currentText(),
                    ComboBox6->currentText(), QString());
  if (!record) return;
  special_days_.Append(std::move(*record));
  SaveAndReload(special_days_, ComboBox6);
  host_.SpecialRebuildMonth();
}

void TSpecialDayPage::Button12Click() {
  const int shown = ComboBox3->currentIndex();
  if (shown < 0 || !birthdays_.DeleteSorted(static_cast<std::size_t>(shown))) return;
  SaveAndReload(birthdays_, ComboBox3);
}

void TSpecialDayPage::Button15Click() {
  // The box's edit field doubles as the subject being typed: only an entry that stands in it
  // as listed is deleted, never the one the list last had selected.
  const int shown = ComboBox6->currentIndex();
  if (shown < 0 || ComboBox6->currentText() != ComboBox6->itemText(shown)) return;
  if (!special_days_.DeleteSorted(static_cast<std::size_t>(shown))) return;
  SaveAndReload(special_days_, ComboBox6);
}

void TSpecialDayPage::WriteList(daydata::SpecialDayList& list, const std::string& suffix) {
  // The file as it is now; one that cannot be read leaves the list as it was.
  list.Load(ListPath(list));
  try {
    daydata::StampSpecialList(list, host_.SpecialShownYear(), DataDir(), suffix);
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromUtf8(e.what()));
  }
  // Also after a failure: the labels written before it are shown.
  host_.SpecialRebuildMonth();
}

std::filesystem::path TSpecialDayPage::DataDir() const {
  std::filesystem::path dir = settings::ReadDataFolderSetting(settings_.Store());
  return dir.empty() ? data_dir_ : dir;
}

void TSpecialDayPage::Button13Click() {
  // The suffix as the box shows it, typed text included.
  if (!platform::ConfirmCp932Save(this, ComboBox7->currentText())) return;
  const std::string suffix = platform::ToCp932(ComboBox7->currentText());
  WriteList(birthdays_, suffix);
}

void TSpecialDayPage::Button16Click() {
  WriteList(special_days_, {});
}

void TSpecialDayPage::ComboBox7Change() {
  // Only a choice from the list is remembered; typed text is -1.
  const int index = ComboBox7->findText(ComboBox7->currentText(), Qt::MatchExactly);
  if (index == suffix_index_) return;
  suffix_index_ = index;
  try {
    settings_.Store().WriteInteger(settings::keys::BirthdaySuffix, index);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromUtf8(e.what()));
  }
}

void TSpecialDayPage::HelpButtonClick() {
  platform::ShowHelp(this, help_file_, 20);
}

}  // namespace options
