// THelpViewer: the program's help window. It shows the HTML help file with its contents, an
// index and a full-text search beside the page, and opens at the anchor of a topic number, so
// that every window's Help button works without a browser.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace platform {

class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);

  // Loads the help file; false when it cannot be read.
  bool OpenFile(const QString& path);
  QString FilePath() const { return file_; }
  // Scrolls to the anchor named after the topic number; a topic without an anchor (or 0)
  // shows the contents page. False when the anchor does not exist.
  bool ShowTopic(int topic);
  void ShowContents();
  // Fills the search tab with the sections that contain `text`; the number of hits.
  int Search(const QString& text);

  struct Entry {
    QString title;
    QString anchor;
    int level = 2;  // 2 = section, 3 = subsection
  };
  const std::vector<Entry>& ContentsEntries() const { return contents_; }
  const std::vector<Entry>& IndexEntries() const { return index_; }

  QTabWidget* Tabs;
  QTreeWidget* ContentsTree;
  QLineEdit* IndexEdit;
  QListWidget* IndexList;
  QLineEdit* SearchEdit;
  QListWidget* SearchList;
  QTextBrowser* Browser;

 private:
  void FillContents();
  void FillIndex(const QString& filter);
  void GoToAnchor(const QString& anchor);

  QString file_;
  std::vector<Entry> contents_;
  std::vector<Entry> index_;
};

// Opens the shared help window on `help_file` at `topic` (0: the contents). A bare file name
// is looked for in the working directory and in the program's own places. A help file that
// is nowhere gives a message naming every place it was looked for; the result is then false.
bool ShowHelp(QWidget* parent, const QString& help_file, int topic);

// The shared help window, or null when none is open (for tests and screenshots).
THelpViewer* CurrentHelpViewer();

}  // namespace platform
