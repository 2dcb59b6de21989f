#include "platform/line_height.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace platform {

int LineHeight(const QFont& font) {
  // Laying out a line costs more than a paint can spare: once per font. The grids ask for
  // the same two or three fonts at every cell, so a short list compared without building
  // keys is the cheapest cache.
  static std::vector<std::pair<QFont, int>> known;
  for (const auto& [seen, height] : known) {
    if (seen == font) return height;
  }
  QTextLayout layout(QStringLiteral("日本語の予定 Ag ｱｲ (友引)"), font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  const QFontMetricsF metrics(font);
  const qreal height = std::max(line.isValid() ? line.height() : 0.0, metrics.height()) +
                       std::max<qreal>(0, metrics.leading());
  const int whole = std::max(1, static_cast<int>(std::ceil(height - 1e-6)));
  if (known.size() >= 32) known.erase(known.begin());
  known.emplace_back(font, whole);
  return whole;
}

}  // namespace platform
