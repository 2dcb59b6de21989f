// The question every window asks before it saves text holding characters that code page 932
// cannot hold: the files keep their code page, so such a character would be written as "?".
// The user sees which characters, and either goes back to change them (the default) or saves
// with the replacements.
#pragma once

#include <QString>

#include <string>

class QWidget;

namespace platform {

// The characters as the question lists them: each once, with its code point, so that an
// invisible or look-alike character can be found too. Empty when there are none.
QString Cp932MissingList(const std::u32string& missing);

// True when `text` can be saved: it holds nothing code page 932 lacks, or the user chose to
// save with "?" in place of those characters. False: the user goes back to the text.
bool ConfirmCp932Save(QWidget* parent, const QString& text);

// For a name that must stay exact (a file to open): the characters are named and the name is
// refused. True when the name can be stored as it is.
bool CheckCp932Name(QWidget* parent, const QString& name, const QString& what);

}  // namespace platform
