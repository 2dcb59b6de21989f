// The Japanese faces of the windows. Settings files written on Windows, and the designed
// fonts, name the Windows Mincho and Gothic faces ("ＭＳ 明朝", "ＭＳ Ｐゴシック", …), which do
// not exist here; the Japanese Noto faces stand for them, so that text renders as Mincho and
// Gothic under any LANG.
//
// The names are resolved before a QFont is made, not by QFont::insertSubstitution: for a family
// it cannot find, Qt asks fontconfig for a sorted fallback list for every size of the font,
// which cost about 0.8 ms a font at start-up.
#pragma once

#include <QString>

class QFont;
class QWidget;

namespace platform {

inline constexpr char kMinchoFace[] = "Noto Serif CJK JP";
inline constexpr char kGothicFace[] = "Noto Sans CJK JP";

// The face that stands for a family name: a Windows Mincho or Gothic name gives its Noto face,
// any other name is itself.
QString JapaneseFace(const QString& family);

// Call once after the application object is made, before any window. Every label, menu and
// button speaks Japanese: a default face without Japanese glyphs (DejaVu Sans under LANG=C)
// is replaced by the Gothic face at the same size, so that no text waits for a fallback face.
void UseJapaneseUiFont();

// The sizes a window takes from the font dialog, in points: below 6 no Japanese text can be
// read, above 96 one line no longer fits a window on the screen.
inline constexpr int kSmallestFontPoints = 6;
inline constexpr int kLargestFontPoints = 96;
bool FontSizeAllowed(const QFont& font);
// True when the chosen font's size is allowed; otherwise a Japanese caution names the range
// and nothing is to be stored.
bool CheckFontSize(QWidget* parent, const QFont& font);

}  // namespace platform
