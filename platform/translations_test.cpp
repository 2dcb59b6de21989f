#include "platform/translations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QPushButton>
#include <QTranslator>

#include <memory>

namespace {

// The buttons the toolkit labels itself, as the standard dialogs and message boxes show them.
TEST(Translations, StandardButtonsSpeakJapanese) {
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
  QCoreApplication::removeTranslator(translator.get());
}

}  // namespace
