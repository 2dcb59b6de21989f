#include "platform/line_height.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace platform {

int LineHeight(const QFont& font) {
  // Laying out a line costs more than a paint can spare: once per font.
  static QHash<QString, int> known;
  const QString key = font.key();
  if (auto it = known.constFind(key); it != known.cend()) return *it;
  QTextLayout layout(QStringLiteral("日本語の予定 Ag ｱｲ (友引)"), font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  const QFontMetricsF metrics(font);
  const qreal height = std::max(line.isValid() ? line.height() : 0.0, metrics.height()) +
                       std::max<qreal>(0, metrics.leading());
  const int whole = std::max(1, static_cast<int>(std::ceil(height - 1e-6)));
  known.insert(key, whole);
  return whole;
}

}  // namespace platform
