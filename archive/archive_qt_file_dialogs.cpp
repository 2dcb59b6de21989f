#include "archive/archive_qt_file_dialogs.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

namespace archive {
namespace {

// "圧縮ファイル (*.lzh)" -> "lzh"; nothing for "*.*".
QString ExtensionOf(const QString& filter) {
  QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)\\)")).match(filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

}  // namespace

std::unique_ptr<QFileDialog> TArchiveFileDialogs::Make(QWidget* parent,
                                                       const FileDialogRequest& request,
                                                       bool save) {
  auto dialog = std::make_unique<QFileDialog>(parent, request.title);
  // Qt's own dialog: the same on every desktop, in Japanese through the loaded translation, and
  // with room for the Help button.
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setNameFilters(request.filters);
  if (!request.filters.isEmpty()) dialog->selectNameFilter(request.filters.front());
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save               ? QFileDialog::AnyFile
                      : request.multiple ? QFileDialog::ExistingFiles
                                         : QFileDialog::ExistingFile);
  // The extraction destination is preset to the archive itself; it is never overwritten.
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.preset_file.isEmpty());
  if (!request.default_suffix.isEmpty()) {
    dialog->setDefaultSuffix(request.default_suffix);
    // A name typed while the ZIP filter is chosen becomes a ZIP archive, not "x.zip.LZH".
    QFileDialog* d = dialog.get();
    const QString fallback = request.default_suffix;
    QObject::connect(d, &QFileDialog::filterSelected, d, [d, fallback](const QString& filter) {
      const QString ext = ExtensionOf(filter);
      d->setDefaultSuffix(ext.isEmpty() ? fallback : ext);
    });
  }
  if (!request.folder.isEmpty()) dialog->setDirectory(request.folder);
  if (!request.preset_file.isEmpty()) dialog->selectFile(request.preset_file);
  if (auto* box = dialog->findChild<QDialogButtonBox*>()) {
    QPushButton* help = box->addButton(QDialogButtonBox::Help);
    const QString file = request.help_file;
    const int topic = request.help_topic;
    QObject::connect(help, &QPushButton::clicked, help, [file, topic] {
      QUrl url = QUrl::fromLocalFile(file);
      url.setFragment(QString::number(topic));
      QDesktopServices::openUrl(url);
    });
  }
  return dialog;
}

QStringList TArchiveFileDialogs::OpenFiles(QWidget* parent, const FileDialogRequest& request) {
  std::unique_ptr<QFileDialog> dialog = Make(parent, request, false);
  if (dialog->exec() != QDialog::Accepted) return {};
  return dialog->selectedFiles();
}

QString TArchiveFileDialogs::SaveFile(QWidget* parent, const FileDialogRequest& request) {
  std::unique_ptr<QFileDialog> dialog = Make(parent, request, true);
  if (dialog->exec() != QDialog::Accepted) return {};
  const QStringList files = dialog->selectedFiles();
  return files.isEmpty() ? QString() : files.front();
}

}  // namespace archive
