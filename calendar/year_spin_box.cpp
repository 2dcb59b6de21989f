#include "calendar/year_spin_box.h"

#include <algorithm>

namespace calendar {
namespace {

// Years have at most a sign and a handful of digits; longer text is refused as before.
constexpr int kLongestYear = 6;

}  // namespace

QValidator::State YearSpinBox::validate(QString& text, int& pos) const {
  const QValidator::State state = QSpinBox::validate(text, pos);
  if (state != QValidator::Invalid) return state;
  bool number = false;
  const QString year = text.trimmed();
  year.toInt(&number);
  return number && year.size() <= kLongestYear ? QValidator::Intermediate : state;
}

void YearSpinBox::fixup(QString& text) const {
  bool number = false;
  const int year = text.trimmed().toInt(&number);
  if (number) text = QString::number(std::clamp(year, minimum(), maximum()));
}

}  // namespace calendar
