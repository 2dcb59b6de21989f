#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

namespace platform {

QString JapaneseFace(const QString& family) {
  if (family == QStringLiteral("ＭＳ 明朝") || family == QStringLiteral("ＭＳ Ｐ明朝")) {
    return QString::fromUtf8(kMinchoFace);
  }
  if (family == QStringLiteral("ＭＳ ゴシック") || family == QStringLiteral("ＭＳ Ｐゴシック") ||
      family == QStringLiteral("MS UI Gothic")) {
    return QString::fromUtf8(kGothicFace);
  }
  return family;
}

void UseJapaneseUiFont() {
  QFont ui = QGuiApplication::font();
  if (QFontDatabase::writingSystems(ui.family()).contains(QFontDatabase::Japanese)) return;
  ui.setFamilies({QString::fromUtf8(kGothicFace)});
  QGuiApplication::setFont(ui);
}

}  // namespace platform
