#include "search/grep_search.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <optional>

#include "platform/fonts.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "platform/system_colours.h"
#include "search/grep_search_host.h"

namespace search {

namespace fs = std::filesystem;

namespace {

constexpr int kHelpTopic = 15;
constexpr int kDrainIntervalMs = 50;
// After 中断 the search ends within a block of the file it reads: its end is looked for often.
constexpr int kStopPollMs = 5;
constexpr size_t kLinesPerDrain = 3000;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  // Enter belongs to the text box and the list here, never to a default button.
  button->setAutoDefault(false);
  return button;
}

// The characters of a result line the list shows: far wider than the list, while measuring a
// line of a megabyte (a day file written by another program) would stall the dialog.
constexpr qsizetype kShownCharacters = 1024;

// A result line as the list shows it. Bytes that are no code page 932 character (a file from
// another program) are shown as the replacement mark rather than as nothing.
QString DisplayText(const std::string& line) {
  // Two bytes at most per character: decoding this much is enough for the part shown.
  const size_t head = std::min(line.size(), static_cast<size_t>(kShownCharacters) * 2 + 2);
  QString text = platform::ToQString(std::string_view(line).substr(0, head));
  if (text.size() > kShownCharacters) text = text.left(kShownCharacters) + QChar(0x2026);
  for (QChar& c : text) {
    if (c.unicode() >= 0xDC00 && c.unicode() <= 0xDCFF) c = QChar(0xFFFD);
  }
  return text;
}

void SetBase(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
}

// The folder being searched as the user knows it: its path below the data folder ("1999"), or
// the data folder itself.
QString FolderName(const std::string& folder) {
  return folder.empty() ? QStringLiteral("データフォルダ") : QString::fromStdString(folder);
}

// Every line of the list is one text line high; its width is the widest line's text width +
// 6 pixels, measured once as the line comes in. With one size for all lines the list does not
// measure tens of thousands of lines again whenever a batch arrives.
class WidestLineDelegate : public QStyledItemDelegate {
 public:
  WidestLineDelegate(const int& widest, QObject* parent)
      : QStyledItemDelegate(parent), widest_(widest) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setWidth(std::max(size.width(), widest_ + 6));
    return size;
  }

 private:
  const int& widest_;
};

}  // namespace

TGrepSearch::TGrepSearch(GrepSearchHost& host, settings::TIniGT& settings, QString help_file,
                         QWidget* parent)
    : QDialog(parent), host_(host), settings_(settings), help_file_(std::move(help_file)) {
  setObjectName("GrepSearch");
  setWindowTitle(QStringLiteral("検索"));
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  QFont font(platform::kGothicFace);
  font.setPixelSize(15);
  setFont(font);

  auto* label1 = new QLabel(QStringLiteral("検索文字入力"), this);
  RetComboBox2 = new QComboBox(this);
  RetComboBox2->setObjectName("RetComboBox2");
  RetComboBox2->setEditable(true);
  RetComboBox2->setInsertPolicy(QComboBox::NoInsert);
  RetComboBox2->setMaxVisibleItems(12);
  RetComboBox2->setMinimumWidth(360);
  RetComboBox2->installEventFilter(this);
  RetComboBox2->lineEdit()->installEventFilter(this);
  label1->setBuddy(RetComboBox2);

  CSpinEdit1 = new QSpinBox(this);
  CSpinEdit1->setObjectName("CSpinEdit1");
  CSpinEdit1->setRange(INT_MIN + 1, INT_MAX);  // any year the folder names may hold
  CSpinEdit1->setFixedWidth(CSpinEdit1->fontMetrics().horizontalAdvance(QStringLiteral("000000")) +
                            40);
  auto* label2 = new QLabel(QStringLiteral("年"), this);

  Button1 = MakeButton(this, "Button1", QStringLiteral("検索"));
  Button6 = MakeButton(this, "Button6", QStringLiteral("全データ検索"));
  Button2 = MakeButton(this, "Button2", QStringLiteral("中断"));
  Button4 = MakeButton(this, "Button4", QStringLiteral("消去"));

  auto* label3 = new QLabel(QStringLiteral("検索結果は"), this);
  Memo1 = new QLineEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Memo1->setFixedWidth(Memo1->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  Memo1->setFocusPolicy(Qt::ClickFocus);
  auto* label4 = new QLabel(QStringLiteral("件です"), this);

  ProgressLabel = new QLabel(this);
  ProgressLabel->setObjectName("ProgressLabel");
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setTextVisible(false);
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  ProgressBar->setFixedWidth(200);
  // Shown only while a search runs; its place is kept so that nothing moves.
  QSizePolicy keep = ProgressBar->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  ProgressBar->setSizePolicy(keep);
  ProgressBar->hide();

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setItemDelegate(new WidestLineDelegate(widest_, ListBox1));
  ListBox1->setMinimumSize(680, 320);
  ListBox1->installEventFilter(this);

  CheckBox1 = new QCheckBox(QStringLiteral("検索結果の連動"), this);
  CheckBox1->setObjectName("CheckBox1");
  Button3 = MakeButton(this, "Button3", QStringLiteral("JUMP"));
  Button5 = MakeButton(this, "Button5", QStringLiteral("ＯＫ"));
  Button7 = MakeButton(this, "Button7", QStringLiteral("ﾍﾙﾌﾟ"));

  auto* top = new QGridLayout;
  top->addWidget(label1, 0, 0);
  top->addWidget(RetComboBox2, 1, 0);
  top->addWidget(CSpinEdit1, 1, 1);
  top->addWidget(label2, 1, 2);
  top->setColumnStretch(0, 1);

  auto* commands = new QHBoxLayout;
  for (QPushButton* b : {Button1, Button6, Button2, Button4}) commands->addWidget(b);
  commands->addStretch(1);
  commands->addWidget(label3);
  commands->addWidget(Memo1);
  commands->addWidget(label4);

  auto* progress = new QHBoxLayout;
  progress->addWidget(ProgressLabel, 1);
  progress->addWidget(ProgressBar);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(CheckBox1);
  bottom->addStretch(1);
  for (QPushButton* b : {Button3, Button5, Button7}) bottom->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(commands);
  layout->addLayout(progress);
  layout->addWidget(ListBox1, 1);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size dialog

  setTabOrder(RetComboBox2, Button1);
  setTabOrder(Button1, Button6);
  setTabOrder(Button6, Button2);
  setTabOrder(Button2, Button4);
  setTabOrder(Button4, CSpinEdit1);
  setTabOrder(CSpinEdit1, ListBox1);
  setTabOrder(ListBox1, CheckBox1);
  setTabOrder(CheckBox1, Button3);
  setTabOrder(Button3, Button5);
  setTabOrder(Button5, Button7);

  drain_timer_ = new QTimer(this);
  drain_timer_->setInterval(kDrainIntervalMs);
  connect(drain_timer_, &QTimer::timeout, this, &TGrepSearch::DrainResults);

  connect(Button1, &QPushButton::clicked, this, &TGrepSearch::Button1Click);
  connect(Button6, &QPushButton::clicked, this, &TGrepSearch::Button6Click);
  connect(Button2, &QPushButton::clicked, this, &TGrepSearch::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TGrepSearch::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TGrepSearch::Button4Click);
  connect(Button5, &QPushButton::clicked, this, &TGrepSearch::Button5Click);
  connect(Button7, &QPushButton::clicked, this, &TGrepSearch::Button7Click);
  connect(CheckBox1, &QCheckBox::clicked, this, &TGrepSearch::CheckBox1Click);
  connect(ListBox1, &QListWidget::itemClicked, this, &TGrepSearch::ListBox1Click);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TGrepSearch::ListBox1DblClick);
}

TGrepSearch::~TGrepSearch() {
  StopSearch();
}

void TGrepSearch::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TGrepSearch::FormShow() {
  const QColor colour =
      platform::ToQColor(settings_.Store().ReadColour(settings::keys::Memo1Color));
  for (QWidget* w : {static_cast<QWidget*>(ListBox1), static_cast<QWidget*>(CSpinEdit1),
                     static_cast<QWidget*>(RetComboBox2), static_cast<QWidget*>(Memo1)})
    SetBase(w, colour);
  const int year = host_.SearchShownYear();
  CSpinEdit1->setValue(year);
  CheckBox1->setChecked(settings_.Store().ReadInteger(settings::keys::SearchCheck) != 0);
  if (QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  RetComboBox2->setFocus();
  Button3->setEnabled(false);
}

void TGrepSearch::Button1Click() {
  StartSearch(false);
}

void TGrepSearch::Button6Click() {
  StartSearch(true);
}

void TGrepSearch::StartSearch(bool all_years) {
  if (Searching() || closing_) return;
  const QString text = RetComboBox2->currentText();
  bool exact = true;
  std::string pattern = platform::ToCp932(text, &exact);
  if (!exact) {
    // Such a character is in no day file; a stand-in for it could match something else.
    platform::ShowMessage(this, QStringLiteral("検索文字にシフトJISで表せない文字があります。"),
                          QStringLiteral("注意"), platform::MessageIcon::kExclamation);
    RetComboBox2->setFocus();
    return;
  }
  CSpinEdit1->interpretText();
  // Both buttons and the text box rest while the worker runs: a second search cannot start
  // inside the first.
  Button1->setEnabled(false);
  Button6->setEnabled(false);
  RetComboBox2->setEnabled(false);
  searched_text_ = text;
  all_years_ = all_years;
  setCursor(Qt::BusyCursor);
  ClearList();
  ProgressLabel->setText(QStringLiteral("検索を始めます…"));
  ProgressBar->setRange(0, 1);
  ProgressBar->setValue(0);
  ProgressBar->show();

  GrepSearchRequest request;
  request.pattern = std::move(pattern);
  std::error_code ignore;
  // The worker names every file by its whole path; a relative data folder is made whole here.
  request.data_dir = fs::absolute(host_.SearchDataDir(), ignore);
  if (request.data_dir.empty()) request.data_dir = host_.SearchDataDir();
  request.all_years = all_years;
  request.year = CSpinEdit1->value();
  worker_.Start(request);
  drain_timer_->start(kDrainIntervalMs);
}

void TGrepSearch::DrainResults() {
  if (!Searching()) return;
  // A common word finds tens of thousands of lines at once; the list takes a share of them each
  // time, so that the dialog keeps answering while it fills (the search waits for it meanwhile).
  GrepSearchWorker::Batch batch = worker_.Take(kLinesPerDrain);
  if (batch.progress) ShowProgress(*batch.progress);
  AddResults(std::move(batch.lines));
  if (batch.finished) {
    drain_timer_->stop();
    Finish(batch);
  }
}

void TGrepSearch::AddResults(std::vector<std::string> found) {
  if (found.empty()) return;
  auto less = [](const std::string& a, const std::string& b) { return ResultLineLess(a, b); };
  std::stable_sort(found.begin(), found.end(), less);
  // The lines of one folder mostly land next to each other (folders come in the file
  // system's order), so each run that goes to one place goes into the list in one step.
  const QFontMetrics metrics(ListBox1->font());
  for (size_t i = 0; i < found.size();) {
    auto at = std::upper_bound(lines_.begin(), lines_.end(), found[i], less);
    size_t j = i + 1;
    while (j < found.size() && (at == lines_.end() || less(found[j], *at))) ++j;
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(j - i));
    for (size_t k = i; k < j; ++k) {
      texts.append(DisplayText(found[k]));
      widest_ = std::max(widest_, metrics.horizontalAdvance(texts.back()));
    }
    const int row = static_cast<int>(at - lines_.begin());
    lines_.insert(at, std::make_move_iterator(found.begin() + static_cast<std::ptrdiff_t>(i)),
                  std::make_move_iterator(found.begin() + static_cast<std::ptrdiff_t>(j)));
    ListBox1->insertItems(row, texts);
    i = j;
  }
  ShowCount();
}

void TGrepSearch::ShowProgress(const DaySearchProgress& progress) {
  ProgressLabel->setText(QStringLiteral("%1 を検索中…  %2 / %3 ファイル")
                             .arg(FolderName(progress.folder))
                             .arg(progress.files_done)
                             .arg(progress.files_total));
  ProgressBar->setRange(0, std::max(1, progress.files_total));
  ProgressBar->setValue(std::min(progress.files_done, std::max(1, progress.files_total)));
}

void TGrepSearch::Finish(const GrepSearchWorker::Batch& end) {
  unsetCursor();
  ProgressBar->hide();
  RetComboBox2->setEnabled(true);
  Button1->setEnabled(true);
  Button6->setEnabled(true);
  if (end.error) {
    ProgressLabel->clear();
    platform::ShowErrorBox(this, QString::fromStdString(*end.error));
    RetComboBox2->setFocus();
    emit SearchFinished();
    return;
  }
  // The drop-down list collects the texts searched; a year without any day file adds none.
  if (all_years_ || end.files > 0) {
    const QString text = RetComboBox2->currentText();
    RetComboBox2->addItem(searched_text_);
    RetComboBox2->setEditText(text);
  }
  if (end.cancelled) {
    ProgressLabel->setText(QStringLiteral("中断しました"));
  } else {
    ProgressLabel->setText(QStringLiteral("%1 ファイルを検索しました").arg(end.files));
  }
  ListBox1->setFocus();
  if (ListBox1->count() > 0) {
    ListBox1->setCurrentRow(0);
    if (CheckBox1->isChecked()) Jump();
  }
  ShowCount();
  Button3->setEnabled(ListBox1->count() > 0);
  if (ListBox1->count() == 0) RetComboBox2->setFocus();
  if (all_years_) {
    const int year = host_.SearchShownYear();
    CSpinEdit1->setValue(year);
  }
  emit SearchFinished();
}

void TGrepSearch::ClearList() {
  ListBox1->clear();
  lines_.clear();
  widest_ = 0;
  ShowCount();
}

void TGrepSearch::ShowCount() {
  Memo1->setText(QString::number(ListBox1->count()));
}

void TGrepSearch::Jump() {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= static_cast<int>(lines_.size()) || !ListBox1->item(row)->isSelected())
    return;
  std::optional<ResultDate> date = ResultDateOf(lines_[static_cast<size_t>(row)]);
  if (!date) return;
  host_.ShowResultDay(*date);
}

void TGrepSearch::Button3Click() {
  Jump();
  accept();
}

void TGrepSearch::ListBox1DblClick() {
  Jump();
  accept();
}

void TGrepSearch::ListBox1Click() {
  if (!CheckBox1->isChecked()) return;
  Jump();
  ListBox1->setFocus();
}

void TGrepSearch::CheckBox1Click() {
  ListBox1->setFocus();
  if (ListBox1->count() > 0) Button3->setEnabled(true);
}

void TGrepSearch::Button2Click() {
  if (Searching()) {
    // What was found but not yet listed goes with the stop: with a common word it would take
    // seconds to come to an end.
    worker_.Cancel();
    ProgressLabel->setText(QStringLiteral("中断しています…"));
    drain_timer_->start(kStopPollMs);
  } else {
    Button1->setEnabled(true);
  }
}

void TGrepSearch::Button4Click() {
  ClearList();
  if (!Searching()) Button1->setEnabled(true);
}

void TGrepSearch::Button5Click() {
  const int year = host_.SearchShownYear();
  CSpinEdit1->setValue(year);
  accept();
}

void TGrepSearch::Button7Click() {
  platform::ShowHelp(this, help_file_, kHelpTopic);
}

void TGrepSearch::StopSearch() {
  drain_timer_->stop();
  worker_.Cancel();
  worker_.Wait();
}

void TGrepSearch::done(int result) {
  if (!closing_) {
    closing_ = true;
    // A running search is stopped and waited for (it ends within the file it reads), so that
    // nothing of it outlives the dialog.
    if (Searching()) {
      StopSearch();
      worker_.Take();
      unsetCursor();
    }
    FormClose();
  }
  QDialog::done(result);
  closing_ = false;
}

void TGrepSearch::FormClose() {
  host_.ReportedWrite([this] {
    settings_.Store().WriteInteger(settings::keys::SearchCheck, CheckBox1->isChecked() ? 1 : 0);
  });
}

bool TGrepSearch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if ((watched == RetComboBox2 || watched == RetComboBox2->lineEdit()) && enter) {
    // Enter is not typed into the search text: it moves on to the "検索" button.
    focusNextPrevChild(true);
    return true;
  }
  if (watched == ListBox1) {
    if (enter) {
      ListBox1DblClick();
      return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      const int row = ListBox1->currentRow();
      const int next = std::clamp(row + (key == Qt::Key_Up ? -1 : 1), 0, ListBox1->count() - 1);
      if (ListBox1->count() > 0 && (next != row || !ListBox1->currentItem()->isSelected())) {
        ListBox1->setCurrentRow(next);
        if (CheckBox1->isChecked()) {
          Jump();
          ListBox1->setFocus();
        }
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace search
