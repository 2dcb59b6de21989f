#include "platform/fonts.h"

#include <QFont>

namespace platform {

void InstallJapaneseFontSubstitutions() {
  const char* kMincho = "Noto Serif CJK JP";
  const char* kGothic = "Noto Sans CJK JP";
  QFont::insertSubstitution(QStringLiteral("ＭＳ 明朝"), kMincho);
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), kMincho);
  QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), kGothic);
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), kGothic);
  QFont::insertSubstitution(QStringLiteral("MS UI Gothic"), kGothic);
}

}  // namespace platform
