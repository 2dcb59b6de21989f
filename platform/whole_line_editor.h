// Keeps a text pane at least one whole line of its font high, whatever font it is given later:
// a pane shorter than its line shows no line at all.
#pragma once

class QPlainTextEdit;

namespace platform {

// From now on the editor's least height is one line of its current font with its frame and
// margins; the rest of the height stays the layout's (and the user's) choice.
void KeepOneWholeLine(QPlainTextEdit* editor);
// That least height for the editor's current font.
int OneWholeLineHeight(const QPlainTextEdit& editor);

}  // namespace platform
