// The settings the archive commands read and write, kept in one place.
#pragma once

#include <QString>

namespace archive {

// "CloseArc": 1 = compress the shown year's day files when the main window closes.
inline QString CloseArcSection() {
  return QStringLiteral("終了時圧縮");
}
inline QString CloseArcKey() {
  return QStringLiteral("CloseArc");
}

// The help topic of every archive dialog.
inline constexpr int kArchiveHelpTopic = 13;

}  // namespace archive
