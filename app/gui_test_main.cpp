// The widget tests' entry: a QApplication on the offscreen platform, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "platform/fonts.h"

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  platform::UseJapaneseUiFont();
  QApplication::setApplicationName(QStringLiteral("ミルネ"));
  return RUN_ALL_TESTS();
}
