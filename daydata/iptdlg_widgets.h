// The day entry dialog's small parts: the designed colour of a pane, the conversion between
// day-file text and editor text, and the controls it builds its panes from (the colour picker drawn
// as swatches, the header strips, the editors).
#pragma once

#include <QColor>
#include <QComboBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QStyledItemDelegate>

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/system_colours.h"
#include "settings/schema.h"

namespace daydata::iptdlg {

// A colour key's designed value (the schema's default), as the panes take it.
inline std::uint32_t Designed(const settings::Key& key) {
  return static_cast<std::uint32_t>(key.default_value);
}

// Code page 932 file text (CR LF, or any line end) as editor text, and back.
QString EditorText(std::string_view bytes);
std::string FileText(QString text);

// A decimal text as the dialog reads the day handed over: leading blanks and a sign, then
// digits up to the first other character; no digits give 0.
int LeadingInteger(const QString& text);

QColor ColourOfCode(int code);

// The colour picker's items drawn as swatches, without their names.
class SwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {36, 18};
  }
};

class SwatchComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;

 protected:
  void paintEvent(QPaintEvent*) override;
};

QHeaderView* MakeHeader(QWidget* parent, const char* name, const QStringList& sections,
                        int clickable_from);
QPlainTextEdit* MakeEditor(QWidget* parent, const char* name);
void SetBackground(QWidget* pane, std::uint32_t colour);
std::uint32_t BackgroundOf(const QWidget* pane);

}  // namespace daydata::iptdlg
