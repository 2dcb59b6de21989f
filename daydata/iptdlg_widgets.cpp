#include "daydata/iptdlg_widgets.h"

#include <QPainter>
#include <QStandardItemModel>
#include <QStylePainter>

#include "daydata/day_store.h"
#include "platform/cp932.h"
#include "platform/qt_text.h"

namespace daydata::iptdlg {

QString EditorText(std::string_view bytes) {
  // CR LF and a lone CR both become LF, in one pass over the decoded text: QString's replace of
  // CR LF cost four times the decoding on a day of a quarter of a million lines.
  std::u16string text = cp932::Decode(bytes);
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r') {
      c = u'\n';
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    }
    text[kept++] = c;
  }
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(kept));
}

std::string FileText(QString text) {
  text.replace(QChar::ParagraphSeparator, QChar('\n'));
  text.replace(QChar::LineSeparator, QChar('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return platform::ToCp932(text);
}

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

void SwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  if (option.state & QStyle::State_Selected)
    painter->fillRect(option.rect, option.palette.highlight());
  painter->fillRect(option.rect.adjusted(2, 2, -2, -2), index.data(Qt::UserRole).value<QColor>());
}

void SwatchComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.fillRect(field.adjusted(1, 1, -1, -1), currentData(Qt::UserRole).value<QColor>());
}

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

}  // namespace daydata::iptdlg
