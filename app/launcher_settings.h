// Section and key names of the launcher buttons in the settings file, in one place.
#pragma once

#include <QString>

namespace app::launcher_settings {

inline constexpr int kButtonCount = 10;

// "User Software3の設定"
inline QString Section(int n) {
  return QStringLiteral("User Software%1の設定").arg(n);
}
// "Software3": the registered file.
inline QString FileKey(int n) {
  return QStringLiteral("Software%1").arg(n);
}
// "Software3.exe": the program associated with it, whose icon the button shows at start-up.
inline QString ProgramKey(int n) {
  return QStringLiteral("Software%1.exe").arg(n);
}

}  // namespace app::launcher_settings
