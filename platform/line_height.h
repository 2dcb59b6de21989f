// The real height of a line of text in a font: what a line of Japanese and Latin text takes
// when it is laid out, faces the font falls back to included. The faces standing in for the
// Windows ones are taller than their point size suggests (a Noto CJK line is about 1.45 em).
#pragma once

class QFont;

namespace platform {

// Whole pixels from one line to the next, as the painter lays out lines of this font.
int LineHeight(const QFont& font);

}  // namespace platform
