#include "platform/file_dialog_columns.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTimer>
#include <QTreeView>

namespace platform {
namespace {

constexpr char kFitted[] = "miruneColumnsFitted";

void FitColumns(QTreeView& view) {
  if (!view.model()) return;
  // The name column keeps its width; the others take what their texts need.
  for (int column = 1; column < view.model()->columnCount(); ++column)
    view.resizeColumnToContents(column);
}

// The folder model writes sizes and dates in the system's locale, which on a system set to
// another language (or to none, "C") gives "3 bytes" and "10 Dec 2026" among Japanese texts.
// They are written here in the program's own locale, the rest left as the model gives it.
class JapaneseDetails : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
    if (role == Qt::DisplayRole && files && (index.column() == 1 || index.column() == 3)) {
      const QModelIndex source = mapToSource(index);
      if (index.column() == 1 && !files->isDir(source))
        return QLocale().formattedDataSize(files->size(source));
      if (index.column() == 3)
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    }
    return QIdentityProxyModel::data(index, role);
  }
};

class FileDialogWatcher : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* dialog = qobject_cast<QFileDialog*>(watched)) FitFileDialogColumns(*dialog);
    }
    return false;
  }
};

}  // namespace

void FitFileDialogColumns(QFileDialog& dialog) {
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!view) return;  // a desktop dialog: none of ours to fit
  if (!dialog.property(kFitted).toBool() && !dialog.proxyModel()) {
    dialog.setProxyModel(new JapaneseDetails(&dialog));
  }
  FitColumns(*view);
  if (dialog.property(kFitted).toBool()) return;
  dialog.setProperty(kFitted, true);
  // The folder's entries, and with them the sizes and types, arrive after the dialog shows,
  // in batches after the folder is read: the columns are fitted once each batch is in.
  auto fit_later = [view] { QTimer::singleShot(0, view, [view] { FitColumns(*view); }); };
  if (QAbstractItemModel* model = view->model()) {
    QObject::connect(model, &QAbstractItemModel::rowsInserted, view, fit_later);
    QObject::connect(model, &QAbstractItemModel::layoutChanged, view, fit_later);
    QObject::connect(model, &QAbstractItemModel::modelReset, view, fit_later);
  }
  if (auto* model = dialog.findChild<QFileSystemModel*>())
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, fit_later);
}

void FitEveryFileDialogsColumns(QObject* owner) {
  if (qApp) qApp->installEventFilter(new FileDialogWatcher(owner));
}

}  // namespace platform
