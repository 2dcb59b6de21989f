// TIptdlg's panes: the ToDo list and the memo, which belong to no day and are loaded at every
// opening and written as they change; the fonts and colours of each pane; and the printing of
// the focused one.
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

#include "daydata/iptdlg.h"
#include "daydata/iptdlg_widgets.h"
#include "daydata/todo_list.h"
#include "platform/cp932_question.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/qt_text.h"

namespace fs = std::filesystem;

namespace daydata {

namespace keys = settings::keys;

using namespace iptdlg;

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

void TIptdlg::LoadLists() {
  QFont list_font = ListBox1->font();
  settings_.ReadFont(keys::ListBoxFont, list_font);
  ListBox1->setFont(list_font);
  if (std::optional<std::vector<std::string>> items = ReadToDo(ToDoFilePath(host_.StartupDir()))) {
    SortToDo(*items);
    FillToDo(*items);
    UpdateToDoExtent();
  }
  Memo3->clear();
  QFont memo_font = Memo3->font();
  settings_.ReadFont(keys::Memo3Font, memo_font);
  Memo3->setFont(memo_font);
  if (std::optional<std::string> memo = ReadMemo(MemoFilePath(host_.StartupDir()))) {
    Memo3->setPlainText(EditorText(*memo));
  }
  Memo3->document()->setModified(false);
  saved_memo_ = MemoText();
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
  // A selection over several lines holds paragraph separators, which the file's CR LF stand for.
  QString selected = Memo1->textCursor().selectedText();
  selected.replace(QChar::ParagraphSeparator, QChar('\n'));
  if (!platform::ConfirmCp932Save(this, selected)) return;
  const std::string selection = FileText(selected);
  const std::string entry = ToDoEntry(CurrentFile, selection);
  if (entry.empty()) return;
  const std::size_t at = InsertToDo(todo_items_, entry);
  auto* row = new QListWidgetItem(EditorText(entry));
  row->setSizeHint(QSize(todo_extent_, std::max(17, QFontMetrics(ListBox1->font()).height())));
  ListBox1->insertItem(static_cast<int>(at), row);
  WriteToDo(ToDoFilePath(host_.StartupDir()), todo_items_);  // a failed write is not reported
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
  const fs::path file = ToDoFilePath(host_.StartupDir());
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

void TIptdlg::ReadPaneColours() {
  auto read = [this](const settings::Key& key, QWidget* pane, std::uint32_t current) {
    SetBackground(pane, settings_.Store().ReadColour(key, current));
  };
  read(keys::Memo1Color, Memo1, Designed(keys::Memo1Color));
  read(keys::Memo3Color, Memo3, BackgroundOf(Memo3));
  read(keys::ListBoxColor, ListBox1, BackgroundOf(ListBox1));
}

void TIptdlg::SpeedButton12Click() {
  const Pane pane = FocusedPane();
  try {
    QFont initial;
    switch (pane) {
      case Pane::kDay:
        initial = DayFont;
        settings_.ReadFont(keys::MemoFont, initial);
        break;
      case Pane::kMemo:
        initial = Memo3->font();
        settings_.ReadFont(keys::Memo3Font, initial);
        break;
      case Pane::kToDo:
        initial = ListBox1->font();
        settings_.ReadFont(keys::ListBoxFont, initial);
        break;
      case Pane::kNone:
        break;
    }
    const std::optional<QFont> chosen = ChooseFont(initial);
    if (!chosen || !platform::CheckFontSize(this, *chosen)) return;
    switch (pane) {
      case Pane::kDay:
        DayFont = *chosen;
        reload_same_day_ = true;
        LoadDay();
        settings_.WriteFont(keys::MemoFont, DayFont);
        break;
      case Pane::kMemo:
        Memo3->setFont(*chosen);
        settings_.WriteFont(keys::Memo3Font, *chosen);
        LoadLists();
        break;
      case Pane::kToDo:
        ListBox1->setFont(*chosen);
        settings_.WriteFont(keys::ListBoxFont, *chosen);
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
  const settings::Key* key = nullptr;
  switch (FocusedPane()) {
    case Pane::kDay:
      pane = Memo1;
      key = &keys::Memo1Color;
      break;
    case Pane::kMemo:
      pane = Memo3;
      key = &keys::Memo3Color;
      break;
    case Pane::kToDo:
      pane = ListBox1;
      key = &keys::ListBoxColor;
      break;
    case Pane::kNone:
      return;
  }
  const std::uint32_t current = settings_.Store().ReadColour(*key, BackgroundOf(pane));
  const std::optional<QColor> chosen = ChooseColour(platform::ToQColor(current));
  if (!chosen) return;
  const std::uint32_t value = platform::ToColourValue(*chosen);
  SetBackground(pane, value);
  try {
    settings_.Store().WriteColour(*key, value);
  } catch (const std::system_error& e) {
    platform::ShowErrorBox(this, QString::fromStdString(e.what()));
  }
}

}  // namespace daydata
