// TIptdlg's controls: the date title with its tool buttons, the day text beside the ToDo list
// above the memo, and the colour picker, day steps and dialog buttons along the bottom.
#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

#include "daydata/iptdlg.h"
#include "daydata/iptdlg_widgets.h"
#include "platform/fonts.h"
#include "platform/whole_line_editor.h"
#include "widgets/grad_box.h"

namespace daydata {

using namespace iptdlg;

TIptdlg::TIptdlg(DayEntryHost& host, settings::TIniGT& settings, QString help_file, QWidget* parent)
    : QDialog(parent), host_(host), settings_(settings), help_file_(std::move(help_file)) {
  setObjectName("Iptdlg");
  setWindowTitle(QStringLiteral("入力ダイアログ"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setModal(true);
  resize(759, 374);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // Top bar: the date title with the tool buttons standing on it.
  GradBox1 = new widgets::TGradBox(this);
  GradBox1->setObjectName("GradBox1");
  GradBox1->setFixedHeight(33);
  GradBox1->SetCaptionLeft(10);
  GradBox1->SetCaptionTop(6);
  GradBox1->SetStyle3D(widgets::TFontStyle3D::fsRaise3D);
  GradBox1->SetBackFont(0xFFFFFF);
  GradBox1->SetTopColor(0xC0C0C0);
  GradBox1->SetLastColor(0x808080);
  layout->addWidget(GradBox1);
  struct Tool {
    QToolButton** button;
    const char* name;
    const char* text;
    const char* hint;
    void (TIptdlg::*handler)();
  };
  const Tool tools[] = {
      {&SpeedButton2, "SpeedButton2", "終了", "入力終了", &TIptdlg::SpeedButton2Click},
      {&SpeedButton3, "SpeedButton3", "保存", "保存", &TIptdlg::SpeedButton3Click},
      {&SpeedButton7, "SpeedButton7", "戻す", "元に戻す", &TIptdlg::SpeedButton7Click},
      {&SpeedButton8, "SpeedButton8", "切取", "切り取り", &TIptdlg::SpeedButton8Click},
      {&SpeedButton9, "SpeedButton9", "複写", "コピー", &TIptdlg::SpeedButton9Click},
      {&SpeedButton10, "SpeedButton10", "貼付", "貼り付け", &TIptdlg::SpeedButton10Click},
      {&SpeedButton13, "SpeedButton13", "全選", "全選択", &TIptdlg::SpeedButton13Click},
      {&SpeedButton11, "SpeedButton11", "全消", "全消去", &TIptdlg::SpeedButton11Click},
      {&SpeedButton1, "SpeedButton1", "印刷", "ダイアログ内印刷", &TIptdlg::SpeedButton1Click},
      {&SpeedButton12, "SpeedButton12", "字体", "フォント", &TIptdlg::SpeedButton12Click},
      {&SpeedButton14, "SpeedButton14", "色", "入力画面の色", &TIptdlg::SpeedButton14Click},
  };
  int x = 300;
  for (const Tool& tool : tools) {
    auto* button = new QToolButton(GradBox1);
    button->setObjectName(tool.name);
    button->setText(QString::fromUtf8(tool.text));
    button->setToolTip(QString::fromUtf8(tool.hint));
    button->setAutoRaise(true);
    // The panel's font is the date title's; the buttons keep the ordinary one.
    button->setFont(QApplication::font());
    // The editing buttons act on the pane that has the focus, so they never take it.
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(x, 3, 36, 27);
    x += 38;
    connect(button, &QToolButton::clicked, this, tool.handler);
    *tool.button = button;
  }

  // Centre: day text | ToDo list above, the memo below.
  Splitter2 = new QSplitter(Qt::Vertical, this);
  Splitter2->setObjectName("Splitter2");
  Splitter2->setHandleWidth(3);
  Splitter2->setChildrenCollapsible(false);
  layout->addWidget(Splitter2, 1);
  auto* upper = new QWidget(Splitter2);
  auto* upper_layout = new QVBoxLayout(upper);
  upper_layout->setContentsMargins(0, 0, 0, 0);
  upper_layout->setSpacing(0);
  Splitter1 = new QSplitter(Qt::Horizontal, upper);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  upper_layout->addWidget(Splitter1, 1);

  QFont mincho(platform::kMinchoFace);
  mincho.setPointSize(13);  // 17 pixels on a 96-dpi screen
  auto* left = new QWidget(Splitter1);
  auto* left_layout = new QVBoxLayout(left);
  left_layout->setContentsMargins(0, 0, 0, 0);
  left_layout->setSpacing(0);
  HeaderControl1 = MakeHeader(left, "HeaderControl1",
                              {QStringLiteral("予定データ"), QStringLiteral("Send ToDo")}, 1);
  left_layout->addWidget(HeaderControl1);
  Memo1 = MakeEditor(left, "Memo1");
  QFont bold = mincho;
  bold.setBold(true);
  Memo1->setFont(bold);
  Memo1->setMinimumWidth(5);
  left_layout->addWidget(Memo1, 1);

  auto* right = new QWidget(Splitter1);
  auto* right_layout = new QVBoxLayout(right);
  right_layout->setContentsMargins(0, 0, 0, 0);
  right_layout->setSpacing(0);
  HeaderControl2 =
      MakeHeader(right, "HeaderControl2", {QStringLiteral("ToDo"), QStringLiteral("削除")}, 1);
  right_layout->addWidget(HeaderControl2);
  ListBox1 = new QListWidget(right);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  ListBox1->setFont(mincho);
  ListBox1->setMinimumWidth(5);
  SetBackground(ListBox1, Designed(settings::keys::ListBoxColor));
  right_layout->addWidget(ListBox1, 1);
  Splitter1->setStretchFactor(1, 1);

  HeaderControl3 = MakeHeader(upper, "HeaderControl3", {QStringLiteral("MEMO")}, 1);
  upper_layout->addWidget(HeaderControl3);
  Memo3 = MakeEditor(Splitter2, "Memo3");
  Memo3->setFont(mincho);
  platform::KeepOneWholeLine(Memo3);  // never shorter than one line of the memo's font
  SetBackground(Memo3, Designed(settings::keys::Memo3Color));
  Splitter2->setStretchFactor(0, 1);

  // Bottom bar.
  auto* bottom = new QWidget(this);
  bottom->setFixedHeight(30);
  auto* bar = new QHBoxLayout(bottom);
  bar->setContentsMargins(4, 2, 4, 2);
  ComboBox1 = new SwatchComboBox(bottom);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setToolTip(QStringLiteral("入力文字の色を変更します"));
  ComboBox1->setItemDelegate(new SwatchDelegate(ComboBox1));
  ComboBox1->setFixedWidth(40);
  const char* colour_names[] = {"clBlack", "clRed", "clBlue", "clGreen", "clWhite"};
  for (int i = 0; i < 5; ++i)
    ComboBox1->addItem(QString::fromLatin1(colour_names[i]), ColourOfCode(i));
  connect(ComboBox1, &QComboBox::activated, this, &TIptdlg::ComboBox1Click);
  bar->addWidget(ComboBox1);
  auto day_button = [&](const char* name, const char* text, const char* hint,
                        void (TIptdlg::*handler)()) {
    auto* button = new QToolButton(bottom);
    button->setObjectName(name);
    button->setText(QString::fromUtf8(text));
    button->setToolTip(QString::fromUtf8(hint));
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(44);
    connect(button, &QToolButton::clicked, this, handler);
    bar->addWidget(button);
    return button;
  };
  SpeedButton4 = day_button("SpeedButton4", "◀前日", "前の日付です", &TIptdlg::SpeedButton4Click);
  SpeedButton5 = day_button("SpeedButton5", "今日", "今日の日付です", &TIptdlg::SpeedButton5Click);
  SpeedButton6 = day_button("SpeedButton6", "翌日▶", "次の日付です", &TIptdlg::SpeedButton6Click);
  bar->addStretch(1);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), bottom);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), bottom);
  BitBtn2->setObjectName("BitBtn2");
  Button1 = new QPushButton(QStringLiteral("ヘルプ"), bottom);
  Button1->setObjectName("Button1");
  for (QPushButton* b : {BitBtn1, BitBtn2, Button1}) {
    b->setAutoDefault(true);
    bar->addWidget(b);
  }
  connect(BitBtn1, &QPushButton::clicked, this, &TIptdlg::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TIptdlg::BitBtn2Click);
  connect(Button1, &QPushButton::clicked, this, &TIptdlg::Button1Click);
  layout->addWidget(bottom);

  connect(HeaderControl1, &QHeaderView::sectionClicked, this, &TIptdlg::HeaderControl1SectionClick);
  connect(HeaderControl2, &QHeaderView::sectionClicked, this, &TIptdlg::HeaderControl2SectionClick);
  connect(Splitter1, &QSplitter::splitterMoved, this, &TIptdlg::Splitter1Moved);
  connect(Splitter2, &QSplitter::splitterMoved, this, &TIptdlg::Splitter2Moved);
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { UpdateScrollBars(Memo1); });
  connect(Memo3, &QPlainTextEdit::textChanged, this, [this] { UpdateScrollBars(Memo3); });
  Memo1->installEventFilter(this);
  Memo1->viewport()->installEventFilter(this);
  Memo3->viewport()->installEventFilter(this);

  FormCreate();
}

}  // namespace daydata
