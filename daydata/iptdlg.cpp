#include "daydata/iptdlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <system_error>

#include "app/kvrwin.h"
#include "app/main_settings.h"
#include "daydata/todo_list.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/string_grid.h"
#include "platform/system_colours.h"
#include "widgets/grad_box.h"

namespace fs = std::filesystem;

namespace daydata {
namespace {

const QString kMemoFontSection = QStringLiteral("MemoFont");
const QString kPaneColourSection = QStringLiteral("入力ダイアログ内色");
const QString kLayoutSection = QStringLiteral("入力画面分け");
const QString kPlacementSection = QStringLiteral("入力ダイアログ");
const QString kTitleColourSection = QStringLiteral("入力ダイアログ日付");

// Title colours while the options dialog has never stored any: today's date in red, so that it
// stands out as today does in the month grid, every other day in black.
constexpr std::uint32_t kTodayTitleColour = 0x0000FF;
constexpr std::uint32_t kOtherDayTitleColour = 0x000000;

constexpr std::uint32_t kClWindow = platform::kSystemColourBit + 5;
constexpr std::uint32_t kMemo3Colour = 0xE0FED6;
constexpr std::uint32_t kListBoxColour = 0xFFE1FF;

// Code page 932 file text (CR LF, or any line end) as editor text, and back.
QString EditorText(std::string_view bytes) {
  QString text = platform::ToQString(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text;
}

std::string FileText(QString text) {
  text.replace(QChar::ParagraphSeparator, QChar('\n'));
  text.replace(QChar::LineSeparator, QChar('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return platform::ToCp932(text);
}

// A decimal text as the dialog reads ShownYear and its kin: leading blanks and a sign, then
// digits up to the first other character; no digits give 0.
int LeadingInteger(const QString& text) {
  int i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128 && value < 100000000) {
    value = value * 10 + (text[i++].unicode() - '0');
  }
  return static_cast<int>(negative ? -value : value);
}

QColor ColourOfCode(int code) {
  return platform::ToQColor(ColourValueOf(code));
}

// The colour picker's items drawn as swatches, without their names.
class SwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (option.state & QStyle::State_Selected)
      painter->fillRect(option.rect, option.palette.highlight());
    painter->fillRect(option.rect.adjusted(2, 2, -2, -2), index.data(Qt::UserRole).value<QColor>());
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {36, 18};
  }
};

class SwatchComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.fillRect(field.adjusted(1, 1, -1, -1), currentData(Qt::UserRole).value<QColor>());
  }
};

QHeaderView* MakeHeader(QWidget* parent, const char* name, const QStringList& sections,
                        int clickable_from) {
  auto* model = new QStandardItemModel(0, static_cast<int>(sections.size()), parent);
  model->setHorizontalHeaderLabels(sections);
  auto* header = new QHeaderView(Qt::Horizontal, parent);
  header->setObjectName(name);
  header->setModel(model);
  header->setSectionsClickable(clickable_from < sections.size());
  header->setHighlightSections(false);
  header->setStretchLastSection(false);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setSectionResizeMode(QHeaderView::Fixed);
  for (int i = 0; i < sections.size(); ++i) header->resizeSection(i, 100);
  header->setFixedHeight(18);
  header->setFocusPolicy(Qt::NoFocus);  // a click must leave the day text's selection alone
  return header;
}

QPlainTextEdit* MakeEditor(QWidget* parent, const char* name) {
  auto* editor = new QPlainTextEdit(parent);
  editor->setObjectName(name);
  editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  editor->setTabChangesFocus(true);
  editor->setAttribute(Qt::WA_InputMethodEnabled, true);
  editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return editor;
}

void SetBackground(QWidget* pane, std::uint32_t colour) {
  QPalette palette = pane->palette();
  palette.setColor(QPalette::Base, platform::ToQColor(colour));
  pane->setPalette(palette);
}

std::uint32_t BackgroundOf(const QWidget* pane) {
  return platform::ToColourValue(pane->palette().color(QPalette::Base));
}

}  // namespace

TIptdlg::TIptdlg(app::TKvrwin& main_window, QWidget* parent) : QDialog(parent), main_(main_window) {
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

  QFont mincho(QStringLiteral("ＭＳ 明朝"));
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
  SetBackground(ListBox1, kListBoxColour);
  right_layout->addWidget(ListBox1, 1);
  Splitter1->setStretchFactor(1, 1);

  HeaderControl3 = MakeHeader(upper, "HeaderControl3", {QStringLiteral("MEMO")}, 1);
  upper_layout->addWidget(HeaderControl3);
  Memo3 = MakeEditor(Splitter2, "Memo3");
  Memo3->setFont(mincho);
  Memo3->setMinimumHeight(5);
  SetBackground(Memo3, kMemo3Colour);
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

TIptdlg::~TIptdlg() = default;

void TIptdlg::FormCreate() {
  // The panes' division as the user left it.
  // The splitter stands right after the day text, so the day text's width alone places it;
  // the splitter's own position is kept in the file beside it.
  const int splitter_left =
      main_.IniGT1->ReadInteger(kLayoutSection, QStringLiteral("Splitter1Left"), 401);
  const int memo1_width =
      main_.IniGT1->ReadInteger(kLayoutSection, QStringLiteral("Memo1Width"), splitter_left - 1);
  const int memo3_height =
      main_.IniGT1->ReadInteger(kLayoutSection, QStringLiteral("Memo3Height"), 20);
  const int left = std::max(5, memo1_width);
  Splitter1->setSizes({left, std::max(5, width() - left - 3)});
  Splitter2->setSizes({std::max(5, height() - 63 - memo3_height - 3), std::max(5, memo3_height)});
}

void TIptdlg::OpenDayEntry() {
  exec();
}

void TIptdlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TIptdlg::FormShow() {
  DayLines.emplace();
  LoadLists();
  GradBox1->setFont(main_.InputTaitolFont);
  const QString toolbar = QStringLiteral("ツールバー色");
  GradBox1->SetTopColor(static_cast<std::uint32_t>(main_.IniGT1->ReadInteger(
      toolbar, QStringLiteral("tollbarTopColor"), static_cast<int>(GradBox1->TopColor()))));
  GradBox1->SetLastColor(static_cast<std::uint32_t>(main_.IniGT1->ReadInteger(
      toolbar, QStringLiteral("tollbarLastColor"), static_cast<int>(GradBox1->LastColor()))));
  Memo1->clear();
  DayFont = QFont();
  main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("memofont"), DayFont);
  main_.IniGT1->ReadPlacement(kPlacementSection, QStringLiteral("winpos"), *this);
  Memo1->setFont(DayFont);
  ReadPaneColours();
  const bool half = main_.HalfMonth == 1;
  for (QToolButton* b : {SpeedButton4, SpeedButton5, SpeedButton6}) b->setVisible(!half);
  Memo1->setFocus();
  StepToday = StepNext = StepPrev = false;
  LoadDay();
}

void TIptdlg::ReadPaneColours() {
  auto read = [this](const char* key, QWidget* pane, std::uint32_t current) {
    SetBackground(pane,
                  static_cast<std::uint32_t>(main_.IniGT1->ReadInteger(
                      kPaneColourSection, QString::fromLatin1(key), static_cast<int>(current))));
  };
  read("Memo1Color", Memo1, kClWindow);
  read("Memo3Color", Memo3, BackgroundOf(Memo3));
  read("ListBoxColor", ListBox1, BackgroundOf(ListBox1));
}

void TIptdlg::done(int result) {
  if (isVisible()) FormClose();
  QDialog::done(result);
}

void TIptdlg::FormClose() {
  try {
    main_.IniGT1->WritePlacement(kPlacementSection, QStringLiteral("winpos"), *this);
    const QList<int> sizes = Splitter1->sizes();
    main_.IniGT1->WriteInteger(kLayoutSection, QStringLiteral("Splitter1Left"), sizes.value(0) + 1);
    main_.IniGT1->WriteInteger(kLayoutSection, QStringLiteral("Memo1Width"), sizes.value(0));
    main_.IniGT1->WriteInteger(kLayoutSection, QStringLiteral("Memo3Height"),
                               Splitter2->sizes().value(1));
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  main_.FromCalendar = false;
  DayLines.reset();
}

// Resolving the date of the load that follows: the calendar's date, or the step taken from
// the day the main window handed over.
void TIptdlg::ResolveDate(QString& title) {
  if (main_.FromCalendar) {
    calendar::CalendarPort& calendar = main_.Calendar();
    const int y = calendar.Year(), m = calendar.Month(), d = calendar.Day();
    // The day file goes into the calendar year's folder: after a step across the year's end
    // the old year's folder would hide it from every month view.
    main_.ShownYear = QString::number(y);
    CurrentFile = DayFileName(y, m, d);
    title = QString::asprintf("%d年%2d月%2d日の行動", y, m, d);
    ApplyTodayTitle(y, m, d, title);
    return;
  }
  const int y = LeadingInteger(main_.ShownYear);
  int m = 0, d = 0;
  if (reload_same_day_) {
    m = EditMonth;
    d = EditDay;
  } else if (StepToday) {
    m = TodayPick.month();
    d = TodayPick.day();
  } else if (StepNext) {
    m = main_.ShownDate.month();
    d = EditDay + 1;
    if (d > main_.DaysInMonth(main_.ShownDate.year(), main_.ShownDate.month())) {
      main_.StepMonth(+1);
      m += 1;
      d = 1;
      if (m == 13) {
        m = 1;
        main_.ShownYear = QString::number(y + 1);
      }
    }
  } else if (StepPrev) {
    m = main_.ShownDate.month();
    d = EditDay - 1;
    if (EditDay == 1) {
      main_.StepMonth(-1);
      m -= 1;
      d = main_.DaysInMonth(main_.ShownDate.year(), main_.ShownDate.month());
      if (m == 0) {
        m = 12;
        main_.ShownYear = QString::number(y - 1);
      }
    }
  } else {
    m = LeadingInteger(main_.ShownMonth);
    d = LeadingInteger(main_.ShownDay);
  }
  EditMonth = m;
  EditDay = d;
  const std::string year_text = platform::ToCp932(main_.ShownYear);
  CurrentFile = DayFileName(year_text, m, d);
  title = QString::asprintf("%s年%2d月%2d日の行動", main_.ShownYear.toUtf8().constData(), m, d);
  ApplyTodayTitle(LeadingInteger(main_.ShownYear), m, d, title);
}

void TIptdlg::ApplyTodayTitle(int year, int month, int day, const QString& title) {
  setWindowTitle(QStringLiteral("入力ダイアログ"));
  const QDate today = QDate::currentDate();
  const bool is_today =
      year == today.year() && month == today.month() && day == main_.ShownDate.day();
  GradBox1->setFont(main_.InputTaitolFont);
  GradBox1->SetFont3D(is_today);
  const std::uint32_t colour = static_cast<std::uint32_t>(main_.IniGT1->ReadInteger(
      kTitleColourSection, is_today ? QStringLiteral("inptaitol_1") : QStringLiteral("inptaitol_2"),
      static_cast<int>(is_today ? kTodayTitleColour : kOtherDayTitleColour)));
  GradBox1->SetFontColor(colour);
  GradBox1->SetCaption(title);
  title_ = title;
}

void TIptdlg::LoadDay() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  Memo1->clear();
  QString title;
  ResolveDate(title);
  reload_same_day_ = false;
  if (!DayLines) DayLines.emplace();
  DayLines->Clear();
  Memo1->setFont(DayFont);
  const fs::path path = main_.DataDir / main_.ShownYear.toStdString() / CurrentFile;
  const LoadedDay day = DayStore::LoadDay(path);
  switch (day.source) {
    case ColourSource::kColourLine:
      SetDayTextColour(ColourOfCode(day.colour));
      break;
    case ColourSource::kOutOfRange:
      SetDayTextColour(Qt::black);
      break;
    case ColourSource::kFont:
      SetDayTextColour(QApplication::palette().color(QPalette::Text));
      break;
  }
  ColourCode = std::to_string(day.colour);
  ComboBox1->setCurrentIndex(0);
  *DayLines = DayStore::SplitEditorText(day.text);
  Memo1->setPlainText(EditorText(day.text));
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->document()->setModified(false);
  UpdateScrollBars(Memo1);
  QApplication::restoreOverrideCursor();
}

void TIptdlg::SetDayTextColour(const QColor& colour) {
  QPalette palette = Memo1->palette();
  palette.setColor(QPalette::Text, colour);
  Memo1->setPalette(palette);
}

void TIptdlg::UpdateScrollBars(QPlainTextEdit* editor) {
  // No scroll bar while every displayed line (wrapped parts counted) fits the pane.
  const QFontMetrics metrics(editor->font());
  const int visible = metrics.height() > 0 ? editor->viewport()->height() / metrics.height() : 0;
  const qreal width =
      std::max<qreal>(1, editor->viewport()->width() - 2 * editor->document()->documentMargin());
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  int lines = 0;
  for (QTextBlock block = editor->document()->begin(); block.isValid() && lines <= visible;
       block = block.next()) {
    QTextLayout layout(block.text(), editor->font());
    layout.setTextOption(option);
    layout.beginLayout();
    int in_block = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      ++in_block;
    }
    layout.endLayout();
    lines += std::max(1, in_block);
  }
  editor->setVerticalScrollBarPolicy(lines <= visible ? Qt::ScrollBarAlwaysOff
                                                      : Qt::ScrollBarAlwaysOn);
}

std::string TIptdlg::DayText() const {
  return FileText(Memo1->toPlainText());
}
std::string TIptdlg::MemoText() const {
  return FileText(Memo3->toPlainText());
}

bool TIptdlg::SaveDayFile() {
  DayStore store(main_.DataDir, main_.StartupDir, this);
  const fs::path path = store.DayFilePath(main_.ShownYear.toStdString(), CurrentFile);
  try {
    store.SaveDay(path, DayText(), ColourCode);
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    return false;
  }
  return true;
}

bool TIptdlg::SaveMemoFile() {
  try {
    SaveMemo(MemoFilePath(main_.StartupDir), MemoText());
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    return false;
  }
  return true;
}

void TIptdlg::Notice(const std::string& text_utf8, const std::string& caption_utf8) {
  platform::ShowMessage(this, QString::fromStdString(text_utf8),
                        QString::fromStdString(caption_utf8));
}

void TIptdlg::DataDirRecreated(const fs::path& data_dir) {
  main_.DataDir = data_dir;
  bool exact = true;
  const std::string stored = platform::Cp932FromPath(data_dir, &exact);
  try {
    if (exact)
      main_.IniGT1->Store().WriteString(app::sections::DataFolder(), "Current_Dir", stored);
  } catch (const std::system_error& e) {
    // The day still goes into the new folder; only remembering it failed.
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  main_.setWindowTitle(QStringLiteral("ミルネ-") + QString::fromStdString(data_dir.string()));
}

void TIptdlg::RefreshMainWindow() {
  main_.RequestCursorCellClear();
  main_.BuildMonth();
}

void TIptdlg::CalendarFollowUp() {
  if (!main_.FromCalendar) return;
  calendar::CalendarPort& calendar = main_.Calendar();
  if (!calendar.Shows(main_.ShownDate.year(), main_.ShownDate.month())) return;
  const int day = calendar.Day();
  if (main_.HalfMonth == 1) {
    main_.StringGrid1->setFocus();
  } else if (day >= 1 && day <= 16) {
    main_.SelectGridRow(1, day - 1);
  } else if (day >= 17 && day <= 31) {
    main_.SelectGridRow(2, day - 17);
  }
}

bool TIptdlg::OkSaveDay() {
  if (!SaveDayFile()) return false;
  Memo1->setFocus();
  RefreshMainWindow();
  Memo1->document()->setModified(false);
  CalendarFollowUp();
  return true;
}

void TIptdlg::BitBtn1Click() {
  if (Memo1->document()->isModified() && !OkSaveDay()) return;
  if (Memo3->document()->isModified() && !SaveMemoFile()) return;
  accept();
}

void TIptdlg::BitBtn2Click() {
  reject();
}

void TIptdlg::SpeedButton2Click() {
  if (Memo3->document()->isModified() && !SaveMemoFile()) return;
  if (!SaveDayFile()) return;
  RefreshMainWindow();
  accept();
}

void TIptdlg::SpeedButton3Click() {
  if (!SaveDayFile()) return;
  if (Memo3->document()->isModified()) SaveMemoFile();
}

bool TIptdlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1 && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (Memo1KeyDown(key->key(), key->modifiers())) return false;
    // With Enter as the closing key, Ctrl+Enter is how a line break is typed.
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & Qt::ControlModifier) && main_.Settings.input_key_close == 13) {
      QTextCursor cursor = Memo1->textCursor();
      cursor.insertBlock();
      Memo1->setTextCursor(cursor);
      return true;
    }
  } else if ((watched == Memo1->viewport() || watched == Memo3->viewport()) &&
             event->type() == QEvent::Resize) {
    UpdateScrollBars(watched == Memo1->viewport() ? Memo1 : Memo3);
  }
  return QDialog::eventFilter(watched, event);
}

bool TIptdlg::Memo1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
  int code = -1;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      code = 13;
      break;
    case Qt::Key_Shift:
      code = 16;
      break;
    case Qt::Key_Control:
      code = 17;
      break;
    default:
      break;
  }
  const int close_key = main_.Settings.input_key_close;
  if (close_key == 0 || code != close_key) return false;
  if (close_key != 17 && (modifiers & Qt::ControlModifier)) return false;
  if (Memo1->document()->isModified() && !OkSaveDay()) return false;
  accept();
  return true;
}

void TIptdlg::MainWindowFollows() {
  if (main_.HalfMonth == 1) return;
  if (EditDay >= 1 && EditDay <= 16) {
    main_.SelectGridRow(1, EditDay - 1);
  } else if (EditDay >= 17 && EditDay <= 31) {
    main_.SelectGridRow(2, EditDay - 17);
  }
}

void TIptdlg::SpeedButton6Click() {
  if (main_.FromCalendar) {
    calendar::CalendarPort& calendar = main_.Calendar();
    if (calendar.Day() < main_.DaysInMonth(calendar.Year(), calendar.Month())) {
      calendar.SetDay(calendar.Day() + 1);
    } else {
      calendar.GoNextMonth();
      calendar.SetDay(1);
    }
    calendar.ShowOwnDate();
    LoadDay();
    return;
  }
  StepNext = true;
  StepToday = StepPrev = false;
  LoadDay();
  MainWindowFollows();
  main_.BuildMonth();
}

void TIptdlg::SpeedButton4Click() {
  if (main_.FromCalendar) {
    calendar::CalendarPort& calendar = main_.Calendar();
    if (calendar.Day() > 1) {
      calendar.SetDay(calendar.Day() - 1);
    } else {
      calendar.GoPrevMonth();
      calendar.SetDay(main_.DaysInMonth(calendar.Year(), calendar.Month()));
    }
    calendar.ShowOwnDate();
    LoadDay();
    return;
  }
  StepPrev = true;
  StepToday = StepNext = false;
  LoadDay();
  MainWindowFollows();
  main_.BuildMonth();
}

void TIptdlg::SpeedButton5Click() {
  StepToday = true;
  StepNext = StepPrev = false;
  const QDate today = QDate::currentDate();
  TodayPick = today;
  const int n = main_.DaysInMonth(main_.ShownDate.year(), main_.ShownDate.month());
  const int c = main_.CursorDay;
  if (c > 16 && c <= n) {
    main_.SetDate(today);
    main_.SelectGridRow(2, c - 17);
    main_.ShownYear = QString::number(today.year());
  } else if (c >= 1 && c <= 16) {
    main_.SetDate(today);
    main_.SelectGridRow(1, c - 1);
    main_.ShownYear = QString::number(today.year());
  }
  if (main_.FromCalendar) {
    main_.Calendar().GoToday();
    main_.Calendar().ShowOwnDate();
  }
  LoadDay();
  main_.BuildMonth();
}

TIptdlg::Pane TIptdlg::FocusedPane() const {
  const QWidget* focused = focusWidget();
  if (focused == Memo1) return Pane::kDay;
  if (focused == Memo3) return Pane::kMemo;
  if (focused == ListBox1) return Pane::kToDo;
  return Pane::kNone;
}

QPlainTextEdit* TIptdlg::FocusedEditor() const {
  switch (FocusedPane()) {
    case Pane::kDay:
      return Memo1;
    case Pane::kMemo:
      return Memo3;
    default:
      return nullptr;
  }
}

void TIptdlg::SpeedButton7Click() {
  if (QPlainTextEdit* editor = FocusedEditor()) editor->undo();
}

void TIptdlg::SpeedButton8Click() {
  if (QPlainTextEdit* editor = FocusedEditor()) editor->cut();
}

void TIptdlg::SpeedButton9Click() {
  // Copy, then paste over the selection: the text stays, the caret ends after it, and the
  // pane counts as changed, so that the next OK writes the day again.
  if (QPlainTextEdit* editor = FocusedEditor()) {
    editor->copy();
    editor->paste();
    editor->document()->setModified(true);
  }
}

void TIptdlg::SpeedButton10Click() {
  if (QPlainTextEdit* editor = FocusedEditor()) editor->paste();
}

void TIptdlg::SpeedButton13Click() {
  if (QPlainTextEdit* editor = FocusedEditor()) editor->selectAll();
}

void TIptdlg::SpeedButton11Click() {
  if (QPlainTextEdit* editor = FocusedEditor()) {
    editor->selectAll();
    editor->cut();
  }
}

void TIptdlg::ComboBox1Click(int index) {
  if (index < 0 || index > 4) return;
  ColourCode = std::to_string(index);
  SetDayTextColour(ColourOfCode(index));
  Memo1->document()->setModified(true);
}

std::optional<QFont> TIptdlg::ChooseFont(const QFont& initial) {
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, initial, this);
  if (!ok) return std::nullopt;
  return font;
}

std::optional<QColor> TIptdlg::ChooseColour(const QColor& initial) {
  QColor colour = QColorDialog::getColor(initial, this);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

bool TIptdlg::ExecPrintDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer, this);
  return dialog.exec() == QDialog::Accepted;
}

void TIptdlg::OpenHelp(const QString& help_file, int topic) {
  QUrl url = QUrl::fromLocalFile(help_file);
  url.setFragment(QString::number(topic));
  QDesktopServices::openUrl(url);
}

void TIptdlg::SpeedButton12Click() {
  const Pane pane = FocusedPane();
  try {
    QFont initial;
    switch (pane) {
      case Pane::kDay:
        initial = DayFont;
        main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("memofont"), initial);
        break;
      case Pane::kMemo:
        initial = Memo3->font();
        main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("memo3font"), initial);
        break;
      case Pane::kToDo:
        initial = ListBox1->font();
        main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("ListBoxFont"), initial);
        break;
      case Pane::kNone:
        break;
    }
    const std::optional<QFont> chosen = ChooseFont(initial);
    if (!chosen) return;
    switch (pane) {
      case Pane::kDay:
        DayFont = *chosen;
        reload_same_day_ = true;
        LoadDay();
        main_.IniGT1->WriteFont(kMemoFontSection, QStringLiteral("memofont"), DayFont);
        break;
      case Pane::kMemo:
        Memo3->setFont(*chosen);
        main_.IniGT1->WriteFont(kMemoFontSection, QStringLiteral("memo3font"), *chosen);
        LoadLists();
        break;
      case Pane::kToDo:
        ListBox1->setFont(*chosen);
        main_.IniGT1->WriteFont(kMemoFontSection, QStringLiteral("ListBoxFont"), *chosen);
        LoadLists();
        break;
      case Pane::kNone:
        break;
    }
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

void TIptdlg::SpeedButton14Click() {
  QWidget* pane = nullptr;
  QString key;
  switch (FocusedPane()) {
    case Pane::kDay:
      pane = Memo1;
      key = QStringLiteral("Memo1Color");
      break;
    case Pane::kMemo:
      pane = Memo3;
      key = QStringLiteral("Memo3Color");
      break;
    case Pane::kToDo:
      pane = ListBox1;
      key = QStringLiteral("ListBoxColor");
      break;
    case Pane::kNone:
      return;
  }
  const std::uint32_t current = static_cast<std::uint32_t>(
      main_.IniGT1->ReadInteger(kPaneColourSection, key, static_cast<int>(BackgroundOf(pane))));
  const std::optional<QColor> chosen = ChooseColour(platform::ToQColor(current));
  if (!chosen) return;
  const std::uint32_t value = platform::ToColourValue(*chosen);
  SetBackground(pane, value);
  try {
    main_.IniGT1->WriteInteger(kPaneColourSection, key, static_cast<int>(value));
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

void TIptdlg::SpeedButton1Click() {
  QPrinter printer(QPrinter::HighResolution);
  if (!ExecPrintDialog(printer)) return;
  PrintFocusedPane(printer);
}

void TIptdlg::PrintFocusedPane(QPrinter& printer) {
  QString heading, body;
  QFont font;
  switch (FocusedPane()) {
    case Pane::kDay:
      heading = title_;
      body = Memo1->toPlainText();
      font = Memo1->font();
      break;
    case Pane::kMemo:
      heading = QStringLiteral("MEMO");
      body = Memo3->toPlainText();
      font = Memo3->font();
      break;
    case Pane::kToDo:
      heading = QStringLiteral("ToDoリスト");
      for (int i = 0; i < ListBox1->count(); ++i) body += ListBox1->item(i)->text() + QChar('\n');
      font = ListBox1->font();
      break;
    case Pane::kNone:
      break;
  }
  body.replace(QChar::ParagraphSeparator, QChar('\n'));
  printer.setDocName(heading);
  // The rectangles are in printer dots, laid out for a 600-dpi page.
  printer.setResolution(600);
  QPainter painter;
  if (!painter.begin(&printer)) {
    platform::ShowErrorBox(this, QStringLiteral("印刷を開始できません"));
    return;
  }
  font.setPointSizeF(14);
  painter.setFont(font);
  painter.setPen(Qt::black);
  // Lines break only at their ends, and whatever falls outside the rectangle is cut off.
  const QRect heading_rect(QPoint(0, 0), QPoint(3000, 5000));
  const QRect body_rect(QPoint(200, 250), QPoint(3000, 5000));
  painter.setClipRect(heading_rect);
  painter.drawText(heading_rect, Qt::AlignLeft | Qt::AlignTop, heading);
  painter.setClipRect(body_rect);
  painter.drawText(body_rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, body);
  painter.end();
}

void TIptdlg::Button1Click() {
  OpenHelp(main_.HelpFile, 12);
}

void TIptdlg::LoadLists() {
  QFont list_font = ListBox1->font();
  main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("ListBoxFont"), list_font);
  ListBox1->setFont(list_font);
  if (std::optional<std::vector<std::string>> items = ReadToDo(ToDoFilePath(main_.StartupDir))) {
    SortToDo(*items);
    FillToDo(*items);
    UpdateToDoExtent();
  }
  Memo3->clear();
  QFont memo_font = Memo3->font();
  main_.IniGT1->ReadFont(kMemoFontSection, QStringLiteral("memo3font"), memo_font);
  Memo3->setFont(memo_font);
  if (std::optional<std::string> memo = ReadMemo(MemoFilePath(main_.StartupDir))) {
    Memo3->setPlainText(EditorText(*memo));
  }
  Memo3->document()->setModified(false);
}

void TIptdlg::FillToDo(const std::vector<std::string>& items) {
  todo_items_ = items;
  ListBox1->clear();
  const int height = std::max(17, QFontMetrics(ListBox1->font()).height());
  for (const std::string& item : items) {
    auto* row = new QListWidgetItem(EditorText(item), ListBox1);
    row->setSizeHint(QSize(todo_extent_, height));
  }
}

void TIptdlg::UpdateToDoExtent() {
  const QFontMetrics metrics(ListBox1->font());
  int widest = 0;
  for (int i = 0; i < ListBox1->count(); ++i) {
    widest = std::max(widest, metrics.horizontalAdvance(ListBox1->item(i)->text()));
  }
  todo_extent_ = widest + 60;
  // Every row as wide as the extent makes the list scroll exactly that far.
  const int height = std::max(17, metrics.height());
  for (int i = 0; i < ListBox1->count(); ++i)
    ListBox1->item(i)->setSizeHint(QSize(todo_extent_, height));
}

void TIptdlg::HeaderControl1SectionClick(int section) {
  if (section != 1) return;
  const std::string selection = FileText(Memo1->textCursor().selectedText());
  const std::string entry = ToDoEntry(CurrentFile, selection);
  if (entry.empty()) return;
  const std::size_t at = InsertToDo(todo_items_, entry);
  auto* row = new QListWidgetItem(EditorText(entry));
  row->setSizeHint(QSize(todo_extent_, std::max(17, QFontMetrics(ListBox1->font()).height())));
  ListBox1->insertItem(static_cast<int>(at), row);
  WriteToDo(ToDoFilePath(main_.StartupDir), todo_items_);  // a failed write is not reported
}

void TIptdlg::HeaderControl2SectionClick(int section) {
  if (section != 1) return;
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  if (!selected.isEmpty()) {
    const int row = ListBox1->row(selected.first());
    delete ListBox1->takeItem(row);
    todo_items_.erase(todo_items_.begin() + row);
  }
  Memo1->setFocus();
  const fs::path file = ToDoFilePath(main_.StartupDir);
  if (!WriteToDo(file, todo_items_)) return;
  std::optional<std::vector<std::string>> items = ReadToDo(file);
  if (!items) return;
  FillToDo(*items);
  UpdateToDoExtent();
}

void TIptdlg::Splitter1Moved() {
  UpdateToDoExtent();
}

void TIptdlg::Splitter2Moved() {
  UpdateScrollBars(Memo1);
  UpdateScrollBars(Memo3);
}

}  // namespace daydata
