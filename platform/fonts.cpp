#include "platform/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

#include "platform/message_box.h"

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

bool FontSizeAllowed(const QFont& font) {
  // A font set in pixels has no point size; 96 dpi, as the settings files count pixels.
  const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
  return points >= kSmallestFontPoints && points <= kLargestFontPoints;
}

bool CheckFontSize(QWidget* parent, const QFont& font) {
  if (FontSizeAllowed(font)) return true;
  ShowMessage(parent,
              QStringLiteral("文字の大きさは %1 から %2 ポイントの間で選んでください！")
                  .arg(kSmallestFontPoints)
                  .arg(kLargestFontPoints),
              QStringLiteral("注意"), MessageIcon::kExclamation);
  return false;
}

}  // namespace platform
