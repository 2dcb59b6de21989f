// YearSpinBox: the month jump dialog's year. A year typed beyond the range is taken as the
// nearest end of it when the text is read, as the arrows would stop there, instead of the
// last key being refused: typing 2100 would otherwise leave 210 standing and jump there.
#pragma once

#include <QSpinBox>

namespace calendar {

class YearSpinBox : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;
};

}  // namespace calendar
