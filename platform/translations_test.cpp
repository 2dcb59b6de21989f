#include "platform/translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>

#include <memory>

namespace {

// The buttons the toolkit labels itself, as the standard dialogs and message boxes show them.
TEST(Translations, StandardButtonsSpeakJapanese) {
  const QLocale before;
  std::unique_ptr<QTranslator> translator(platform::InstallJapaneseTranslations(nullptr));
  ASSERT_NE(translator, nullptr);
  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open |
                       QDialogButtonBox::Close);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("開く"));
  EXPECT_EQ(box.button(QDialogButtonBox::Close)->text(), QStringLiteral("閉じる"));
  // The file dialog's type column, which the catalogues leave in English.
  QFileIconProvider icons;
  EXPECT_EQ(icons.type(QFileInfo(QDir::tempPath())), QStringLiteral("フォルダー"));
  // Files: the shared MIME database's names, in Japanese whatever the environment's locale
  // (the tests run in C).
  const struct {
    const char* name;
    QString type;
  } files[] = {{"month.pdf", QStringLiteral("PDF ドキュメント")},
               {"days.lzh", QStringLiteral("LHA アーカイブ")},
               {"notes.txt", QStringLiteral("平文テキストドキュメント")}};
  QTemporaryDir dir;
  for (const auto& file : files) {
    QFile made(dir.filePath(QString::fromLatin1(file.name)));
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    made.close();
    EXPECT_EQ(icons.type(QFileInfo(made)), file.type) << file.name;
  }
  QCoreApplication::removeTranslator(translator.get());
  QLocale::setDefault(before);
}

}  // namespace
