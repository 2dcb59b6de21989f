#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {
namespace {

// What Debian's Japanese catalogues leave in English: the file dialog's type column names
// folders and files through a context that Qt 6 renamed and the catalogues do not know yet.
class MissingJapaneseTexts : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
    if (qstrcmp(source, "Folder") == 0) return QStringLiteral("フォルダー");
    if (qstrcmp(source, "File") == 0) return QStringLiteral("ファイル");
    if (qstrcmp(source, "Drive") == 0) return QStringLiteral("ドライブ");
    if (qstrcmp(source, "%1 File") == 0) return QStringLiteral("%1 ファイル");
    return {};
  }
};

}  // namespace

QTranslator* InstallJapaneseTranslations(QObject* owner) {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  // "qt_ja" names every module catalogue Debian ships (qtbase_ja and the others the dialogs
  // draw on); "qtbase_ja" alone is the fallback.
  auto* translator = new QTranslator(owner);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if ((!translator->load(QStringLiteral("qt_ja"), folder) &&
       !translator->load(QStringLiteral("qtbase_ja"), folder)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  // Installed after, asked first; it answers only what the catalogues lack. It belongs to the
  // catalogue's translator, so that removing and deleting that one takes it along.
  QCoreApplication::installTranslator(new MissingJapaneseTexts(translator));
  return translator;
}

}  // namespace platform
