#include "platform/whole_line_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QSplitter>

#include "platform/fonts.h"
#include "platform/line_height.h"

namespace {

// Room for a whole line inside the frame and the document's margins.
bool ShowsAWholeLine(const QPlainTextEdit& editor) {
  return editor.viewport()->height() - 2 * editor.document()->documentMargin() >=
         platform::LineHeight(editor.font());
}

// A memo pane in a splitter that the stored layout makes 20 pixels high, as a Windows memo
// of one line of a 17-pixel Mincho is.
TEST(WholeLineEditor, PaneKeepsOneLineOfWhateverFontItHas) {
  QSplitter splitter(Qt::Vertical);
  splitter.setChildrenCollapsible(false);
  new QWidget(&splitter);
  auto* memo = new QPlainTextEdit(&splitter);
  QFont mincho(platform::kMinchoFace);
  mincho.setPixelSize(17);
  memo->setFont(mincho);
  platform::KeepOneWholeLine(memo);
  memo->setPlainText(QStringLiteral("覚書の一行"));
  splitter.resize(400, 300);
  splitter.setSizes({280, 20});
  splitter.show();
  QApplication::processEvents();
  EXPECT_TRUE(ShowsAWholeLine(*memo)) << memo->viewport()->height();
  QFont large = mincho;
  large.setPixelSize(30);
  memo->setFont(large);  // as a font chosen in the dialog
  QApplication::processEvents();
  EXPECT_TRUE(ShowsAWholeLine(*memo)) << memo->viewport()->height();
  EXPECT_GT(memo->height(), 30);
}

TEST(LineHeight, NotoFacesAreTallerThanTheirEm) {
  QFont mincho(platform::kMinchoFace);
  mincho.setPixelSize(17);
  EXPECT_GE(platform::LineHeight(mincho), 23);  // 17 would clip every line
  QFont gothic(platform::kGothicFace, 10);
  EXPECT_GT(platform::LineHeight(gothic), QFontInfo(gothic).pixelSize() + 3);
}

}  // namespace
