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
QTranslator* InstallJapaneseTranslations(QObject* owner);

}  // namespace platform
