#include "platform/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/install_layout.h"
#include "platform/message_box.h"

namespace platform {
namespace {

constexpr int kAnchorRole = Qt::UserRole;
constexpr int kPositionRole = Qt::UserRole + 1;

QString PlainText(QString html) {
  html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  return html.simplified();
}

QPointer<THelpViewer>& SharedViewer() {
  static QPointer<THelpViewer> viewer;
  return viewer;
}

}  // namespace

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("HelpViewer");
  setWindowTitle(QStringLiteral("ミルネ ヘルプ"));
  resize(900, 640);
  auto* splitter = new QSplitter(this);
  Tabs = new QTabWidget(splitter);
  Tabs->setObjectName("Tabs");

  ContentsTree = new QTreeWidget;
  ContentsTree->setObjectName("ContentsTree");
  ContentsTree->setHeaderHidden(true);
  Tabs->addTab(ContentsTree, QStringLiteral("目次"));
  connect(ContentsTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { GoToAnchor(item->data(0, kAnchorRole).toString()); });
  connect(ContentsTree, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { GoToAnchor(item->data(0, kAnchorRole).toString()); });

  auto* index_page = new QWidget;
  auto* index_layout = new QVBoxLayout(index_page);
  IndexEdit = new QLineEdit;
  IndexEdit->setObjectName("IndexEdit");
  IndexEdit->setPlaceholderText(QStringLiteral("キーワードを入力"));
  IndexList = new QListWidget;
  IndexList->setObjectName("IndexList");
  index_layout->addWidget(IndexEdit);
  index_layout->addWidget(IndexList);
  Tabs->addTab(index_page, QStringLiteral("索引"));
  connect(IndexEdit, &QLineEdit::textChanged, this, &THelpViewer::FillIndex);
  connect(IndexEdit, &QLineEdit::returnPressed, this, [this] {
    if (IndexList->count() > 0) GoToAnchor(IndexList->item(0)->data(kAnchorRole).toString());
  });
  connect(IndexList, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { GoToAnchor(item->data(kAnchorRole).toString()); });
  connect(IndexList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { GoToAnchor(item->data(kAnchorRole).toString()); });

  auto* search_page = new QWidget;
  auto* search_layout = new QVBoxLayout(search_page);
  SearchEdit = new QLineEdit;
  SearchEdit->setObjectName("SearchEdit");
  SearchEdit->setPlaceholderText(QStringLiteral("検索する語を入力して Enter"));
  SearchList = new QListWidget;
  SearchList->setObjectName("SearchList");
  search_layout->addWidget(SearchEdit);
  search_layout->addWidget(SearchList);
  Tabs->addTab(search_page, QStringLiteral("検索"));
  connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { Search(SearchEdit->text()); });
  auto show_hit = [this](QListWidgetItem* item) {
    const QString term = SearchEdit->text();
    QTextCursor cursor(Browser->document());
    cursor.setPosition(item->data(kPositionRole).toInt());
    cursor.setPosition(item->data(kPositionRole).toInt() + static_cast<int>(term.size()),
                       QTextCursor::KeepAnchor);
    Browser->setTextCursor(cursor);
    Browser->ensureCursorVisible();
  };
  connect(SearchList, &QListWidget::itemActivated, this, show_hit);
  connect(SearchList, &QListWidget::itemClicked, this, show_hit);

  Browser = new QTextBrowser(splitter);
  Browser->setObjectName("Browser");
  Browser->setOpenExternalLinks(true);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({260, 640});
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);
}

bool THelpViewer::OpenFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QString html = QString::fromUtf8(file.readAll());
  file_ = QFileInfo(path).absoluteFilePath();

  contents_.clear();
  static const QRegularExpression heading(
      QStringLiteral("<h([23])><a name=\"([^\"]+)\"></a>(.*?)</h\\1>"),
      QRegularExpression::DotMatchesEverythingOption);
  for (auto it = heading.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    contents_.push_back({PlainText(m.captured(3)), m.captured(2), m.captured(1).toInt()});
  }
  index_.clear();
  const qsizetype index_start = html.indexOf(QStringLiteral("<ul class=\"index\">"));
  if (index_start >= 0) {
    static const QRegularExpression entry(QStringLiteral("<li><a href=\"#([^\"]+)\">(.*?)</a>"));
    for (auto it = entry.globalMatch(html, index_start); it.hasNext();) {
      const auto m = it.next();
      index_.push_back({PlainText(m.captured(2)), m.captured(1), 0});
    }
    std::sort(index_.begin(), index_.end(),
              [](const Entry& a, const Entry& b) { return a.title < b.title; });
  }
  Browser->setSource(QUrl::fromLocalFile(file_));
  FillContents();
  FillIndex(IndexEdit->text());
  SearchList->clear();
  return true;
}

void THelpViewer::FillContents() {
  ContentsTree->clear();
  QTreeWidgetItem* section = nullptr;
  for (const Entry& e : contents_) {
    auto* item =
        e.level == 3 && section ? new QTreeWidgetItem(section) : new QTreeWidgetItem(ContentsTree);
    item->setText(0, e.title);
    item->setData(0, kAnchorRole, e.anchor);
    if (e.level == 2) section = item;
  }
  ContentsTree->expandAll();
}

void THelpViewer::FillIndex(const QString& filter) {
  IndexList->clear();
  for (const Entry& e : index_) {
    if (!filter.isEmpty() && !e.title.contains(filter, Qt::CaseInsensitive)) continue;
    auto* item = new QListWidgetItem(e.title, IndexList);
    item->setData(kAnchorRole, e.anchor);
  }
}

void THelpViewer::GoToAnchor(const QString& anchor) {
  if (anchor.isEmpty()) return;
  QUrl url = QUrl::fromLocalFile(file_);
  url.setFragment(anchor);
  Browser->setSource(url);
  Browser->scrollToAnchor(anchor);
}

bool THelpViewer::ShowTopic(int topic) {
  const QString anchor = QString::number(topic);
  const bool known = topic > 0 && std::any_of(contents_.begin(), contents_.end(),
                                              [&](const Entry& e) { return e.anchor == anchor; });
  if (!known) {
    ShowContents();
    return false;
  }
  GoToAnchor(anchor);
  for (QTreeWidgetItemIterator it(ContentsTree); *it; ++it) {
    if ((*it)->data(0, kAnchorRole).toString() == anchor) ContentsTree->setCurrentItem(*it);
  }
  return true;
}

void THelpViewer::ShowContents() {
  Tabs->setCurrentIndex(0);
  Browser->setSource(QUrl::fromLocalFile(file_));
  Browser->verticalScrollBar()->setValue(0);
}

int THelpViewer::Search(const QString& text) {
  SearchList->clear();
  Tabs->setCurrentIndex(2);
  if (text.trimmed().isEmpty()) return 0;
  QTextDocument* document = Browser->document();
  int hits = 0;
  for (QTextCursor found = document->find(text); !found.isNull();
       found = document->find(text, found)) {
    ++hits;
    // The hit is listed under the heading of the section it stands in.
    QString section;
    for (QTextBlock block = found.block(); block.isValid(); block = block.previous()) {
      if (block.blockFormat().headingLevel() > 0) {
        section = block.text().simplified();
        break;
      }
    }
    QString line = found.block().text().simplified();
    if (line.size() > 40) line = line.left(40) + QStringLiteral("…");
    auto* item = new QListWidgetItem(
        (section.isEmpty() ? QString() : section + QStringLiteral("：")) + line, SearchList);
    item->setData(kPositionRole, found.selectionStart());
  }
  if (hits == 0) {
    new QListWidgetItem(QStringLiteral("「%1」は見つかりませんでした").arg(text), SearchList);
  }
  return hits;
}

THelpViewer* CurrentHelpViewer() {
  return SharedViewer().data();
}

bool ShowHelp(QWidget* parent, const QString& help_file, int topic) {
  QStringList searched;
  QString found;
  auto try_path = [&](const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (!searched.contains(absolute)) searched << absolute;
    if (found.isEmpty() && QFileInfo(absolute).isFile()) found = absolute;
  };
  try_path(help_file);
  if (QFileInfo(help_file).isRelative()) {
    const std::filesystem::path exe_dir = QCoreApplication::applicationDirPath().toStdString();
    for (const auto& candidate : HelpFileCandidates(exe_dir)) {
      try_path(QString::fromStdString(candidate.string()));
    }
  }
  if (found.isEmpty()) {
    ShowMessage(parent,
                QStringLiteral("ヘルプファイルが見つかりません。次の場所を探しました：\n") +
                    searched.join(QLatin1Char('\n')),
                QStringLiteral("ヘルプ"), MessageIcon::kExclamation);
    return false;
  }
  // The help window belongs to the window that asked for it, so that it goes when the program
  // ends; from inside a modal dialog it must belong to that dialog, or the dialog's modality
  // would block it.
  QWidget* owner = QApplication::activeModalWidget();
  if (!owner && parent) owner = parent->window();
  QPointer<THelpViewer>& viewer = SharedViewer();
  if (!viewer) {
    viewer = new THelpViewer(owner);
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    // An open help window never keeps the program running once the main window is closed.
    viewer->setAttribute(Qt::WA_QuitOnClose, false);
  } else if (viewer->parentWidget() != owner) {
    viewer->setParent(owner, Qt::Window);
  }
  if (viewer->FilePath() != found && !viewer->OpenFile(found)) {
    ShowMessage(parent, QStringLiteral("ヘルプファイルを読めません：\n") + found,
                QStringLiteral("ヘルプ"), MessageIcon::kExclamation);
    return false;
  }
  if (topic > 0) {
    viewer->ShowTopic(topic);
  } else {
    viewer->ShowContents();
  }
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return true;
}

}  // namespace platform
