#include "daydata/iptdlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSplitter>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolButton>

#include <algorithm>
#include <system_error>

#include "calendar/calendar_math.h"
#include "daydata/day_step.h"
#include "daydata/iptdlg_widgets.h"
#include "daydata/todo_list.h"
#include "platform/cp932_question.h"
#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"
#include "widgets/grad_box.h"

namespace fs = std::filesystem;

namespace daydata {

namespace keys = settings::keys;

using namespace iptdlg;

TIptdlg::~TIptdlg() = default;

void TIptdlg::FormCreate() {
  // The panes' division as the user left it.
  // The splitter stands right after the day text, so the day text's width alone places it;
  // the splitter's own position is kept in the file beside it.
  const settings::IniStore& file = settings_.Store();
  const int splitter_left = file.ReadInteger(keys::Splitter1Left);
  const int memo1_width = file.ReadInteger(keys::Memo1Width, splitter_left - 1);
  const int memo3_height = file.ReadInteger(keys::Memo3Height);
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
  LoadLists();
  GradBox1->setFont(host_.InputTitleFont());
  GradBox1->SetTopColor(settings_.Store().ReadColour(keys::TollbarTopColor, GradBox1->TopColor()));
  GradBox1->SetLastColor(
      settings_.Store().ReadColour(keys::TollbarLastColor, GradBox1->LastColor()));
  Memo1->clear();
  DayFont = QFont();
  settings_.ReadFont(keys::MemoFont, DayFont);
  settings_.ReadPlacement(keys::EntryPlacement, *this);
  Memo1->setFont(DayFont);
  ReadPaneColours();
  const bool half = host_.HalfMonth();
  for (QToolButton* b : {SpeedButton4, SpeedButton5, SpeedButton6}) b->setVisible(!half);
  Memo1->setFocus();
  StepToday = StepNext = StepPrev = false;
  LoadDay();
}

void TIptdlg::done(int result) {
  if (isVisible()) FormClose();
  QDialog::done(result);
}

void TIptdlg::FormClose() {
  try {
    settings_.WritePlacement(keys::EntryPlacement, *this);
    const QList<int> sizes = Splitter1->sizes();
    settings::IniStore& file = settings_.Store();
    file.WriteInteger(keys::Splitter1Left, sizes.value(0) + 1);
    file.WriteInteger(keys::Memo1Width, sizes.value(0));
    file.WriteInteger(keys::Memo3Height, Splitter2->sizes().value(1));
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
  host_.SetFromCalendar(false);
}

// Resolving the date of the load that follows: the calendar's date, or the step taken from
// the day the main window handed over.
void TIptdlg::ResolveDate(QString& title) {
  if (host_.FromCalendar()) {
    calendar::CalendarPort& calendar = host_.Calendar();
    const int y = calendar.Year(), m = calendar.Month(), d = calendar.Day();
    // The day file goes into the calendar year's folder: after a step across the year's end
    // the old year's folder would hide it from every month view.
    host_.SetShownYear(QString::number(y));
    CurrentFile = DayFileName(y, m, d);
    title = QString::asprintf("%d年%2d月%2d日の行動", y, m, d);
    ApplyTodayTitle(y, m, d, title);
    return;
  }
  int m = 0, d = 0;
  if (reload_same_day_) {
    m = EditMonth;
    d = EditDay;
  } else if (StepToday) {
    m = TodayPick.month();
    d = TodayPick.day();
  } else if (StepNext || StepPrev) {
    const QDate shown = host_.ShownDate();
    const int y = LeadingInteger(host_.ShownYear());
    const DayStep step = StepNext ? NextDay(y, shown.year(), shown.month(), EditDay)
                                  : PrevDay(y, shown.year(), shown.month(), EditDay);
    host_.StepMonth(step.month_step);
    if (step.year != y) host_.SetShownYear(QString::number(step.year));
    m = step.month;
    d = step.day;
  } else {
    m = LeadingInteger(host_.ShownMonth());
    d = LeadingInteger(host_.ShownDay());
  }
  EditMonth = m;
  EditDay = d;
  const std::string year_text = platform::ToCp932(host_.ShownYear());
  CurrentFile = DayFileName(year_text, m, d);
  title = QString::asprintf("%s年%2d月%2d日の行動", host_.ShownYear().toUtf8().constData(), m, d);
  ApplyTodayTitle(LeadingInteger(host_.ShownYear()), m, d, title);
}

void TIptdlg::ApplyTodayTitle(int year, int month, int day, const QString& title) {
  setWindowTitle(QStringLiteral("入力ダイアログ"));
  const QDate today = QDate::currentDate();
  const bool is_today =
      year == today.year() && month == today.month() && day == host_.ShownDate().day();
  GradBox1->setFont(host_.InputTitleFont());
  GradBox1->SetFont3D(is_today);
  // While the options dialog has never stored any: today's date in red, so that it stands out
  // as today does in the month grid, every other day in black.
  const std::uint32_t colour =
      settings_.Store().ReadColour(is_today ? keys::InputTitleToday : keys::InputTitleOther);
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
  Memo1->setFont(DayFont);
  // Read where the month grid reads it, so that the dialog opens with the text the cell shows;
  // the save then goes to the year folder (DayFilePath).
  const fs::path path = DayStore(host_.DataDir(), host_.StartupDir())
                            .ReadPath(host_.ShownYear().toStdString(), CurrentFile);
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
  saved_day_ = EditorText(day.text);
  Memo1->setPlainText(saved_day_);
  Memo1->moveCursor(QTextCursor::Start);
  Memo1->document()->setModified(false);
  saved_colour_ = ColourCode;
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
  if (!platform::ConfirmCp932Save(this, Memo1->toPlainText())) {
    Memo1->setFocus();
    return false;
  }
  DayStore store(host_.DataDir(), host_.StartupDir(), this);
  const std::string year_text = host_.ShownYear().toStdString();
  try {
    const QString shown = Memo1->toPlainText();
    const std::string text = FileText(shown);
    // A day with text goes into the year folder; an emptied day is deleted where it was read
    // from, so that its cell empties too when it came from the data folder itself.
    const fs::path path = text.empty() ? store.ReadPath(year_text, CurrentFile)
                                       : store.DayFilePath(year_text, CurrentFile);
    store.SaveDay(path, text, ColourCode);
    saved_day_ = shown;
    saved_colour_ = ColourCode;
  } catch (const std::exception& e) {
    platform::ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    return false;
  }
  return true;
}

bool TIptdlg::SaveMemoFile() {
  if (!platform::ConfirmCp932Save(this, Memo3->toPlainText())) {
    Memo3->setFocus();
    return false;
  }
  try {
    const std::string text = MemoText();
    SaveMemo(MemoFilePath(host_.StartupDir()), text);
    saved_memo_ = text;
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
  host_.DataDirRecreated(data_dir);
}

void TIptdlg::RefreshMainWindow() {
  host_.ReloadMonth(true);
}

void TIptdlg::CalendarFollowUp() {
  if (!host_.FromCalendar()) return;
  calendar::CalendarPort& calendar = host_.Calendar();
  if (!calendar.Shows(host_.ShownDate().year(), host_.ShownDate().month())) return;
  if (host_.HalfMonth()) {
    host_.FocusGrid(1);
  } else {
    host_.SelectDay(calendar.Day());
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

QMessageBox::StandardButton TIptdlg::AskSave(bool day, bool memo) {
  QString what;
  if (day) what = QStringLiteral("「%1」").arg(title_);
  if (day && memo) what += QStringLiteral("と");
  if (memo) what += QStringLiteral("MEMO");
  platform::MessageRequest request;
  request.caption = QStringLiteral("確認");
  request.icon = platform::MessageIcon::kQuestion;
  request.text = QStringLiteral("%1は変更されています。\n保存しますか？").arg(what);
  request.buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  request.default_button = QMessageBox::Yes;
  request.labels = {{QMessageBox::Yes, QStringLiteral("はい")},
                    {QMessageBox::No, QStringLiteral("いいえ")},
                    {QMessageBox::Cancel, QStringLiteral("キャンセル")}};
  return platform::ShowMessage(this, request);
}

bool TIptdlg::DayUnsaved() const {
  return Memo1->document()->isModified() &&
         (ColourCode != saved_colour_ || DayText() != FileText(saved_day_));
}

bool TIptdlg::MemoUnsaved() const {
  return Memo3->document()->isModified() && MemoText() != saved_memo_;
}

bool TIptdlg::SettleDayBeforeStep() {
  if (!DayUnsaved()) return true;
  switch (AskSave(true, false)) {
    case QMessageBox::Yes:
      if (!SaveDayFile()) return false;
      RefreshMainWindow();
      Memo1->document()->setModified(false);
      return true;
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void TIptdlg::closeEvent(QCloseEvent* event) {
  // Only the close box (or the window manager's close) gets here; OK, Cancel and the close key
  // end the dialog without a close event. Unsaved edits are not dropped without asking.
  const bool day = DayUnsaved(), memo = MemoUnsaved();
  if (isVisible() && (day || memo)) {
    switch (AskSave(day, memo)) {
      case QMessageBox::Yes:
        BitBtn1Click();  // stays open when a save was refused or failed
        if (isVisible()) event->ignore();
        return;
      case QMessageBox::No:
        break;
      default:
        event->ignore();
        return;
    }
  }
  QDialog::closeEvent(event);
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
        (key->modifiers() & Qt::ControlModifier) && host_.InputKeyClose() == 13) {
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
  const int close_key = host_.InputKeyClose();
  if (close_key == 0 || code != close_key) return false;
  if (close_key != 17 && (modifiers & Qt::ControlModifier)) return false;
  if (Memo1->document()->isModified() && !OkSaveDay()) return false;
  accept();
  return true;
}

void TIptdlg::MainWindowFollows() {
  if (!host_.HalfMonth()) host_.SelectDay(EditDay);
}

void TIptdlg::SpeedButton6Click() {
  if (!SettleDayBeforeStep()) return;
  if (host_.FromCalendar()) {
    calendar::CalendarPort& calendar = host_.Calendar();
    if (calendar.Day() < calendar::GregorianMonthLength(calendar.Year(), calendar.Month())) {
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
  host_.ReloadMonth(false);
}

void TIptdlg::SpeedButton4Click() {
  if (!SettleDayBeforeStep()) return;
  if (host_.FromCalendar()) {
    calendar::CalendarPort& calendar = host_.Calendar();
    if (calendar.Day() > 1) {
      calendar.SetDay(calendar.Day() - 1);
    } else {
      calendar.GoPrevMonth();
      calendar.SetDay(calendar::GregorianMonthLength(calendar.Year(), calendar.Month()));
    }
    calendar.ShowOwnDate();
    LoadDay();
    return;
  }
  StepPrev = true;
  StepToday = StepNext = false;
  LoadDay();
  MainWindowFollows();
  host_.ReloadMonth(false);
}

void TIptdlg::SpeedButton5Click() {
  if (!SettleDayBeforeStep()) return;
  StepToday = true;
  StepNext = StepPrev = false;
  TodayPick = QDate::currentDate();
  host_.ShowToday(host_.FromCalendar());
  LoadDay();
  host_.ReloadMonth(false);
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
  platform::ShowHelp(this, help_file, topic);
}

void TIptdlg::Button1Click() {
  OpenHelp(help_file_, 12);
}

}  // namespace daydata
