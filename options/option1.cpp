// Toption1's pages and controls; the handlers are in option1_handlers.cpp.
#include "options/option1.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "options/display_items.h"
#include "platform/help_viewer.h"

namespace options {
namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

template <class T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QSlider* Slider(Qt::Orientation orientation, int low, int high, const char* name) {
  auto* slider = Named(new QSlider(orientation), name);
  slider->setRange(low, high);
  slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow
                                                        : QSlider::TicksRight);
  return slider;
}

QFrame* SamplePanel(const char* name) {
  auto* panel = Named(new QFrame, name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAutoFillBackground(true);
  panel->setMinimumSize(60, 24);
  return panel;
}

}  // namespace

Toption1::Toption1(OptionsHost& host, settings::TIniGT& settings, QString help_file,
                   QWidget* parent)
    : QDialog(parent), host_(host), settings_(settings), help_file_(std::move(help_file)) {
  setObjectName("option1");
  setWindowTitle(QStringLiteral("設定"));
  setModal(true);

  PageControl1 = Named(new QTabWidget, "PageControl1");
  PageControl1->addTab(BuildHolidayPage(), QStringLiteral("休日及び六曜"));
  PageControl1->addTab(BuildAppearancePage(), QStringLiteral("画面色・フォント等"));
  PageControl1->addTab(BuildStatusLinePage(), QStringLiteral("ｽｸﾛｰﾙ文字表示"));
  PageControl1->addTab(BuildOtherPage(), QStringLiteral("その他"));

  OKButton = Named(new QPushButton(QStringLiteral("OK")), "OKButton");
  OKButton->setDefault(true);
  CancelButton = Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ")), "CancelButton");
  connect(OKButton, &QPushButton::clicked, this, &Toption1::OKButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &Toption1::CancelButtonClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1);
  layout->addLayout(buttons);
  // A fixed border: the dialog keeps the size its pages need, whatever the font and scale.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  FormCreate();
}

void Toption1::InsertSpecialDayPage(QWidget* page) {
  PageControl1->insertTab(1, page, QStringLiteral("特別日"));
}

QPushButton* Toption1::WithHelpButton(QWidget* page, int topic) {
  auto* help = Named(new QPushButton(QStringLiteral("ﾍﾙﾌﾟ")), "HelpButton");
  help->setProperty("topic", topic);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(help);
  static_cast<QBoxLayout*>(page->layout())->addLayout(row);
  return help;
}

QWidget* Toption1::BuildHolidayPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;

  auto* days_off = Named(new QGroupBox(QStringLiteral("休日")), "GroupBox1");
  auto* days_layout = new QVBoxLayout(days_off);
  RadioButton1 = Named(new QRadioButton(QStringLiteral("日曜日のみ")), "RadioButton1");
  RadioButton2 = Named(new QRadioButton(QStringLiteral("週休２日")), "RadioButton2");
  RadioButton3 = Named(new QRadioButton(QStringLiteral("他の曜日")), "RadioButton3");
  rest_group_ = new QButtonGroup(this);
  for (QRadioButton* button : {RadioButton1, RadioButton2, RadioButton3}) {
    rest_group_->addButton(button);
    days_layout->addWidget(button);
    connect(button, &QRadioButton::clicked, this, &Toption1::RestDayClicked);
  }
  // Focusing "他の曜日" offers the weekday boxes before it is chosen.
  RadioButton3->installEventFilter(this);
  days_layout->addStretch();
  top->addWidget(days_off);

  GroupBox2 = Named(new QGroupBox(QStringLiteral("他の曜日")), "GroupBox2");
  auto* weekdays = new QGridLayout(GroupBox2);
  static const char* const kWeekdays[7] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int d = 0; d < 7; ++d) {
    WeekdayBox[d] = new QCheckBox(QString::fromUtf8(kWeekdays[d]));
    WeekdayBox[d]->setObjectName(QStringLiteral("WeekdayBox%1").arg(d));
    weekdays->addWidget(WeekdayBox[d], d / 4, d % 4);
    connect(WeekdayBox[d], &QCheckBox::clicked, this, &Toption1::RestDayClicked);
  }
  top->addWidget(GroupBox2);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  auto* holidays = Named(new QGroupBox(QStringLiteral("祝祭日表示")), "GroupBox3");
  auto* holiday_layout = new QVBoxLayout(holidays);
  CheckBox8 = Named(new QCheckBox(QStringLiteral("表示ON/OFF")), "CheckBox8");
  CheckBox9 = Named(new QCheckBox(QStringLiteral("祝祭日は休む")), "CheckBox9");
  for (QCheckBox* box : {CheckBox8, CheckBox9}) {
    holiday_layout->addWidget(box);
    connect(box, &QCheckBox::clicked, this, &Toption1::RestDayClicked);
  }
  middle->addWidget(holidays);
  auto* rokuyou = Named(new QGroupBox(QStringLiteral("六曜表示")), "GroupBox4");
  auto* rokuyou_layout = new QVBoxLayout(rokuyou);
  CheckBox10 = Named(new QCheckBox(QStringLiteral("表示ON/OFF")), "CheckBox10");
  connect(CheckBox10, &QCheckBox::clicked, this, &Toption1::CheckBox10Click);
  rokuyou_layout->addWidget(CheckBox10);
  rokuyou_layout->addStretch();
  middle->addWidget(rokuyou);
  layout->addLayout(middle);

  auto* choices = Named(new QGroupBox(QStringLiteral("暦の計算")), "GroupBox5");
  auto* choice_layout = new QGridLayout(choices);
  HolidayLawButton = Named(new QRadioButton(QStringLiteral("現行の法律")), "HolidayLawButton");
  HolidayTableButton =
      Named(new QRadioButton(QStringLiteral("2000年の規則")), "HolidayTableButton");
  LunarAccurateButton = Named(new QRadioButton(QStringLiteral("天文計算")), "LunarAccurateButton");
  LunarSeriesButton = Named(new QRadioButton(QStringLiteral("簡易計算")), "LunarSeriesButton");
  auto* holiday_rules = new QButtonGroup(this);
  auto* lunar_method = new QButtonGroup(this);
  choice_layout->addWidget(new QLabel(QStringLiteral("祝日:")), 0, 0);
  choice_layout->addWidget(new QLabel(QStringLiteral("六曜:")), 1, 0);
  int column = 1;
  for (QRadioButton* button : {HolidayLawButton, HolidayTableButton}) {
    holiday_rules->addButton(button);
    choice_layout->addWidget(button, 0, column++);
  }
  column = 1;
  for (QRadioButton* button : {LunarAccurateButton, LunarSeriesButton}) {
    lunar_method->addButton(button);
    choice_layout->addWidget(button, 1, column++);
  }
  for (QRadioButton* button :
       {HolidayLawButton, HolidayTableButton, LunarAccurateButton, LunarSeriesButton}) {
    connect(button, &QRadioButton::clicked, this, &Toption1::CalendarChoiceClicked);
  }
  choice_layout->setColumnStretch(3, 1);
  layout->addWidget(choices);
  layout->addStretch();

  connect(WithHelpButton(page, 19), &QPushButton::clicked, this,
          [this] { OpenHelp(help_file_, 19); });
  return page;
}

QWidget* Toption1::BuildAppearancePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);

  auto* sizes = new QHBoxLayout;
  auto* width = Named(new QGroupBox(QStringLiteral("曜日幅変更")), "GroupBox6");
  auto* width_layout = new QVBoxLayout(width);
  TrackBar1 = Slider(Qt::Horizontal, 0, 100, "TrackBar1");
  connect(TrackBar1, &QSlider::valueChanged, this, &Toption1::TrackBar1Change);
  width_layout->addWidget(TrackBar1);
  width_layout->addStretch();
  sizes->addWidget(width, 1);
  auto* cursor = Named(new QGroupBox(QStringLiteral("カーソル行")), "GroupBox7");
  auto* cursor_layout = new QHBoxLayout(cursor);
  CheckBox11 = Named(new QCheckBox(QStringLiteral("カーソル行拡大")), "CheckBox11");
  connect(CheckBox11, &QCheckBox::clicked, this, &Toption1::CheckBox11Click);
  cursor_layout->addWidget(CheckBox11);
  // In default row heights: 1 is an ordinary row, 4 fills a quarter of a grid.
  TrackBar2 = Slider(Qt::Vertical, 1, 4, "TrackBar2");
  TrackBar2->setInvertedAppearance(true);
  TrackBar2->setToolTip(QStringLiteral("行高さ変更"));
  TrackBar2->setMinimumHeight(60);
  connect(TrackBar2, &QSlider::valueChanged, this, &Toption1::TrackBar2Change);
  cursor_layout->addWidget(new QLabel(QStringLiteral("行高さ変更")));
  cursor_layout->addWidget(TrackBar2);
  sizes->addWidget(cursor);
  layout->addLayout(sizes);

  auto* colours = Named(new QGroupBox(QStringLiteral("画面色・フォント")), "GroupBox8");
  auto* grid = new QGridLayout(colours);
  ListBox1 = Named(new QListWidget, "ListBox1");
  for (const DisplayItem& item : DisplayItems()) ListBox1->addItem(Utf8(item.caption));
  ListBox1->setMinimumWidth(ListBox1->sizeHintForColumn(0) + 24);
  connect(ListBox1, &QListWidget::currentRowChanged, this, &Toption1::ListBox1Click);
  grid->addWidget(ListBox1, 0, 0, 5, 1);
  Label1 = Named(new QLabel, "Label1");
  Label2 = Named(new QLabel, "Label2");
  Panel1 = SamplePanel("Panel1");
  Panel2 = SamplePanel("Panel2");
  Button1 = Named(new QPushButton(QStringLiteral("色変更１")), "Button1");
  Button2 = Named(new QPushButton(QStringLiteral("色変更２")), "Button2");
  Button3 = Named(new QPushButton(QStringLiteral("フォント変更")), "Button3");
  connect(Button1, &QPushButton::clicked, this, [this] { ColourButtonClick(1); });
  connect(Button2, &QPushButton::clicked, this, [this] { ColourButtonClick(2); });
  connect(Button3, &QPushButton::clicked, this, &Toption1::Button3Click);
  // Wide enough for the longest caption of either colour.
  Label1->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ色")) + 8);
  grid->addWidget(Label1, 0, 1);
  grid->addWidget(Panel1, 0, 2);
  grid->addWidget(Button1, 0, 3);
  grid->addWidget(Label2, 1, 1);
  grid->addWidget(Panel2, 1, 2);
  grid->addWidget(Button2, 1, 3);
  Panel3 = Named(new QLabel, "Panel3");
  Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel3->setAlignment(Qt::AlignCenter);
  Panel3->setMinimumSize(260, 56);
  grid->addWidget(Panel3, 2, 1, 2, 3);
  grid->addWidget(Button3, 4, 3);
  grid->setColumnStretch(2, 1);
  layout->addWidget(colours);

  connect(WithHelpButton(page, 21), &QPushButton::clicked, this,
          [this] { OpenHelp(help_file_, 21); });
  return page;
}

QWidget* Toption1::BuildStatusLinePage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  CheckBox12 = Named(new QCheckBox(QStringLiteral("ｽｸﾛｰﾙ文字を表示しない")), "CheckBox12");
  connect(CheckBox12, &QCheckBox::clicked, this, &Toption1::CheckBox12Click);
  auto* top = new QHBoxLayout;
  top->addWidget(CheckBox12);
  top->addStretch();
  Button4 = Named(new QPushButton(QStringLiteral("ﾌｧｲﾙ読込")), "Button4");
  connect(Button4, &QPushButton::clicked, this, &Toption1::Button4Click);
  top->addWidget(Button4);
  layout->addLayout(top);
  Memo1 = Named(new QPlainTextEdit, "Memo1");
  Memo1->setReadOnly(true);
  Memo1->setMinimumHeight(160);
  layout->addWidget(Memo1);
  auto* speed = Named(new QGroupBox(QStringLiteral("スクロールスピード調整")), "GroupBox9");
  auto* speed_layout = new QVBoxLayout(speed);
  TrackBar3 = Slider(Qt::Horizontal, 100, 10000, "TrackBar3");
  TrackBar3->setPageStep(500);
  TrackBar3->setTickInterval(1000);
  connect(TrackBar3, &QSlider::valueChanged, this, &Toption1::TrackBar3Change);
  speed_layout->addWidget(TrackBar3);
  layout->addWidget(speed);

  connect(WithHelpButton(page, 55), &QPushButton::clicked, this,
          [this] { OpenHelp(help_file_, 55); });
  return page;
}

QWidget* Toption1::BuildOtherPage() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* mouse = Named(new QGroupBox(QStringLiteral("マウスで入力ダイアログ起動")), "GroupBox10");
  auto* mouse_layout = new QVBoxLayout(mouse);
  CheckBox13 = Named(new QCheckBox(QStringLiteral("マウスのシングルクリック")), "CheckBox13");
  connect(CheckBox13, &QCheckBox::clicked, this, &Toption1::CheckBox13Click);
  mouse_layout->addWidget(CheckBox13);
  mouse_layout->addWidget(
      new QLabel(QStringLiteral("チェックマークなしはダブルクリックで起動します")));
  layout->addWidget(mouse);

  auto* keys = Named(new QGroupBox(QStringLiteral("入力ダイアログ終了キー")), "GroupBox11");
  auto* keys_layout = new QVBoxLayout(keys);
  static const char* const kCaptions[4] = {"Tabキーを押してEnterキー", "Ctrlキー", "Shiftキー",
                                           "Enterキー (入力時改行は、Ctrl+Enter)　"};
  close_key_group_ = new QButtonGroup(this);
  for (int i = 0; i < 4; ++i) {
    CloseKeyButton[i] = new QRadioButton(QString::fromUtf8(kCaptions[i]));
    CloseKeyButton[i]->setObjectName(QStringLiteral("CloseKeyButton%1").arg(i));
    close_key_group_->addButton(CloseKeyButton[i], i);
    keys_layout->addWidget(CloseKeyButton[i]);
  }
  connect(close_key_group_, &QButtonGroup::idClicked, this, &Toption1::CloseKeyClick);
  layout->addWidget(keys);
  layout->addStretch();

  connect(WithHelpButton(page, 56), &QPushButton::clicked, this,
          [this] { OpenHelp(help_file_, 56); });
  return page;
}

std::optional<QColor> Toption1::ChooseColour(const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, this);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

std::optional<QFont> Toption1::ChooseFont(const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, this);
  if (!ok) return std::nullopt;
  return font;
}

QString Toption1::ChooseMaximsFile() {
  return QFileDialog::getOpenFileName(this, QStringLiteral("読込ファイル"), QString(),
                                      QStringLiteral("読込ファイル (*)"));
}

void Toption1::OpenHelp(const QString& file, int topic) {
  platform::ShowHelp(this, file, topic);
}

}  // namespace options
