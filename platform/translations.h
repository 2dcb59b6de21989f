// Qt's own Japanese texts for what the toolkit draws itself: the buttons of message boxes and
// the font, colour, print and file dialogs. They come from Qt's translations folder (Debian's
// qt6-translations-l10n).
#pragma once

class QObject;
class QTranslator;

namespace platform {

// Loads "qtbase_ja" from Qt's translations folder and installs it in the application; the
// translator belongs to `owner`. Null when the translation cannot be loaded (the toolkit then
// speaks English, which is no reason to refuse to start).
//
// Japanese becomes the default locale too, whatever locale the environment names (often C or
// English on a desktop set up by hand): the file dialog's type column takes its names from the
// shared MIME database in the default locale's language ("PDF ドキュメント", not "PDF
// document"), and its date column the date format.
QTranslator* InstallJapaneseTranslations(QObject* owner);

}  // namespace platform
