#include "platform/help_viewer.h"

#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

#include "platform/message_box.h"
#include "test_support/temp_dir.h"

namespace {

const QString kHelp = QStringLiteral(MIRUNE_SOURCE_DIR "/help/mirune.html");

class HelpViewerTest : public ::testing::Test {
 protected:
  HelpViewerTest() {
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
      messages_ << r.caption + "|" + r.text;
      return QMessageBox::Ok;
    });
  }
  ~HelpViewerTest() override {
    platform::SetMessageHook(nullptr);
    delete platform::CurrentHelpViewer();
  }
  QStringList messages_;
};

TEST_F(HelpViewerTest, TopicsScrollToTheirSectionsAndUnknownTopicsShowTheContents) {
  platform::THelpViewer viewer;
  viewer.resize(800, 500);
  ASSERT_TRUE(viewer.OpenFile(kHelp));
  viewer.show();
  // The contents come from the section headings, subsections below their section.
  ASSERT_GE(viewer.ContentsEntries().size(), 15u);
  EXPECT_EQ(viewer.ContentsTree->topLevelItemCount() + 5,
            static_cast<int>(viewer.ContentsEntries().size()));

  // After opening at a topic, the topic's heading stands in the visible part of the page.
  auto heading_visible = [&](const QString& anchor) {
    QString title;
    for (const auto& e : viewer.ContentsEntries()) {
      if (e.anchor == anchor) title = e.title;
    }
    QTextDocument* document = viewer.Browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      if (block.blockFormat().headingLevel() == 0 || block.text().simplified() != title) continue;
      const double top = document->documentLayout()->blockBoundingRect(block).top() -
                         viewer.Browser->verticalScrollBar()->value();
      return top > -2 && top < viewer.Browser->viewport()->height();
    }
    return false;
  };
  for (int topic : {12, 13, 15, 19, 20, 21, 22, 38, 55, 56}) {
    EXPECT_TRUE(viewer.ShowTopic(topic)) << topic;
    EXPECT_TRUE(heading_visible(QString::number(topic))) << topic;
  }
  viewer.ShowTopic(12);
  EXPECT_FALSE(heading_visible(QStringLiteral("22")));
  EXPECT_FALSE(viewer.ShowTopic(9999));
  EXPECT_EQ(viewer.Browser->verticalScrollBar()->value(), 0);
}

TEST_F(HelpViewerTest, IndexFiltersAndSearchListsTheSectionsOfEveryHit) {
  platform::THelpViewer viewer;
  ASSERT_TRUE(viewer.OpenFile(kHelp));
  const int all = viewer.IndexList->count();
  ASSERT_GT(all, 20);
  viewer.IndexEdit->setText(QStringLiteral("印刷"));
  ASSERT_GE(viewer.IndexList->count(), 2);
  EXPECT_LT(viewer.IndexList->count(), all);
  for (int i = 0; i < viewer.IndexList->count(); ++i) {
    EXPECT_TRUE(viewer.IndexList->item(i)->text().contains(QStringLiteral("印刷")));
  }

  EXPECT_GT(viewer.Search(QStringLiteral("アラーム")), 0);
  bool in_clock = false;
  for (int i = 0; i < viewer.SearchList->count(); ++i) {
    in_clock |= viewer.SearchList->item(i)->text().startsWith(QStringLiteral("時計とアラーム"));
  }
  EXPECT_TRUE(in_clock);
  EXPECT_EQ(viewer.Search(QStringLiteral("存在しない語句ですxyz")), 0);
  EXPECT_EQ(viewer.SearchList->count(), 1);  // the "not found" line
}

TEST_F(HelpViewerTest, MissingHelpFileNamesThePlaceLookedAtAndABareNameIsFoundInTheFolder) {
  test_support::TempDir dir;
  const QString missing = QString::fromStdString((dir.path() / "gone" / "mirune.html").string());
  EXPECT_FALSE(platform::ShowHelp(nullptr, missing, 12));
  ASSERT_EQ(messages_.size(), 1);
  EXPECT_EQ(
      messages_[0],
      QStringLiteral("ヘルプ|ヘルプファイルが見つかりません。次の場所を探しました：\n") + missing);
  EXPECT_EQ(platform::CurrentHelpViewer(), nullptr);

  // A bare name is looked for in the working folder first.
  const QString old_cwd = QDir::currentPath();
  std::filesystem::copy_file(kHelp.toStdString(), dir.path() / "own-help.html");
  QDir::setCurrent(QString::fromStdString(dir.path().string()));
  const bool shown = platform::ShowHelp(nullptr, QStringLiteral("own-help.html"), 15);
  QDir::setCurrent(old_cwd);
  EXPECT_TRUE(shown);
  ASSERT_NE(platform::CurrentHelpViewer(), nullptr);
  EXPECT_TRUE(platform::CurrentHelpViewer()->isVisible());
  EXPECT_EQ(platform::CurrentHelpViewer()->FilePath(),
            QString::fromStdString((dir.path() / "own-help.html").string()));
}

TEST_F(HelpViewerTest, HelpFromAModalDialogBelongsToTheDialogAndNeverKeepsTheProgramRunning) {
  QWidget main_window;
  ASSERT_TRUE(platform::ShowHelp(&main_window, kHelp, 0));
  EXPECT_EQ(platform::CurrentHelpViewer()->parentWidget(), &main_window);
  EXPECT_FALSE(platform::CurrentHelpViewer()->testAttribute(Qt::WA_QuitOnClose));

  // Opened while a dialog runs modally, the same window moves to the dialog, which would
  // otherwise block it.
  QDialog dialog(&main_window);
  QWidget* owner = nullptr;
  bool topic_shown = false;
  QTimer::singleShot(0, &dialog, [&] {
    topic_shown = platform::ShowHelp(&dialog, kHelp, 12);
    owner = platform::CurrentHelpViewer()->parentWidget();
    dialog.reject();
  });
  dialog.exec();
  EXPECT_TRUE(topic_shown);
  EXPECT_EQ(owner, &dialog);
  EXPECT_TRUE(platform::CurrentHelpViewer()->isWindow());
}

}  // namespace
