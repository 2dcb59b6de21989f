#include "app/month_printer.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QToolButton>
#include <QTransform>
#include <QWidget>

#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/documents_folder.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/pdf_text_map.h"
#include "widgets/marquee_label.h"

namespace app {
namespace {

// Hides the tool buttons for as long as it lives and shows the hidden ones again, whatever
// way the printing ends.
class HiddenButtons {
 public:
  explicit HiddenButtons(QWidget& tool_bar) {
    for (QToolButton* button : tool_bar.findChildren<QToolButton*>()) {
      if (!button->isVisible()) continue;
      button->hide();
      hidden_.push_back(button);
    }
  }
  ~HiddenButtons() {
    for (QToolButton* button : hidden_) button->show();
  }
  HiddenButtons(const HiddenButtons&) = delete;
  HiddenButtons& operator=(const HiddenButtons&) = delete;

 private:
  std::vector<QToolButton*> hidden_;
};

}  // namespace

TMonthPrinter::TMonthPrinter(QWidget& area, QWidget& tool_bar, QWidget* dialog_parent)
    : QObject(dialog_parent), area_(area), tool_bar_(tool_bar), dialog_parent_(dialog_parent) {}

TMonthPrinter::~TMonthPrinter() = default;

QPrinter& TMonthPrinter::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setCollateCopies(true);
    printer_->setPageOrientation(area_.width() > area_.height() ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
  }
  return *printer_;
}

QRectF TMonthPrinter::FitRect(const QSizeF& picture, const QRectF& page) {
  if (picture.width() <= 0 || picture.height() <= 0 || page.width() <= 0 || page.height() <= 0)
    return {};
  const double scale = std::min(page.width() / picture.width(), page.height() / picture.height());
  const QSizeF size = picture * scale;
  return {page.left() + (page.width() - size.width()) / 2, page.top(), size.width(), size.height()};
}

QTransform TMonthPrinter::AreaToPage(const QSizeF& printed, const QRectF& page) {
  const QRectF target = FitRect(printed, page);
  QTransform transform;
  if (target.isEmpty()) return transform;
  transform.translate(target.left(), target.top());
  transform.scale(target.width() / printed.width(), target.height() / printed.height());
  return transform;
}

QSize TMonthPrinter::PrintedSize() const {
  // The status line (the scrolling maxims) is the screen's, not the month's: the page ends
  // above it.
  QSize printed = area_.size();
  for (const auto* line : area_.findChildren<widgets::TMarqueeLabel*>(Qt::FindDirectChildrenOnly)) {
    if (line->isVisible()) printed.setHeight(std::min(printed.height(), line->y()));
  }
  return printed;
}

bool TMonthPrinter::PrintOn(QPrinter& printer) {
  HiddenButtons hidden(tool_bar_);
  const QSize printed = PrintedSize();
  // Recording the window as a picture keeps its drawing as lines and text; rendering it onto
  // the printer directly would make it one bitmap.
  QPicture picture;
  {
    QPainter recorder(&picture);
    area_.render(&recorder, QPoint(), QRegion(QRect(QPoint(), printed)),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // The painter's origin is the printable area's top left.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  painter.setTransform(AreaToPage(QSizeF(printed), QRectF(QPointF(), page.size())));
  // A picture plays back scaled from its own resolution to the device's; that part of the
  // scale is taken out again, so that only the fit to the page remains.
  painter.scale(static_cast<double>(picture.logicalDpiX()) / printer.logicalDpiX(),
                static_cast<double>(picture.logicalDpiY()) / printer.logicalDpiY());
  painter.drawPicture(0, 0, picture);
  return painter.end();
}

bool TMonthPrinter::ExecPrintDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer, dialog_parent_);
  dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  // Printing to a file offers what PDF に保存 offers; left to itself the dialog made a name
  // from the document's name in the home folder (or in the data folder, the current one).
  if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename")))
    file->setText(DefaultPdfPath());
  return dialog.exec() == QDialog::Accepted;
}

void TMonthPrinter::OfferPdfPath(QPrinter& printer) const {
  printer.setDocName(QFileInfo(pdf_name_).completeBaseName());
  // A printer that last printed to a file keeps that file's name: the shown month's name
  // replaces it, the folder being the one last chosen.
  if (!printer.outputFileName().isEmpty()) printer.setOutputFileName(DefaultPdfPath());
}

void TMonthPrinter::ReportFailure(const QString& text) {
  platform::ShowMessage(dialog_parent_, text, QStringLiteral("注意"),
                        platform::MessageIcon::kExclamation);
}

void TMonthPrinter::Print() {
  QPrinter& printer = Printer();
  OfferPdfPath(printer);
  if (!ExecPrintDialog(printer)) return;
  if (!PrintOn(printer)) {
    ReportFailure(QStringLiteral("印刷できませんでした。プリンタの設定を確認して下さい。"));
    return;
  }
  // A file printed to is where the next PDF is offered, as after PDF に保存.
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
    pdf_folder_ = QFileInfo(printer.outputFileName()).absolutePath();
}

void TMonthPrinter::PrinterSetup() {
  QPageSetupDialog dialog(&Printer(), dialog_parent_);
  dialog.exec();
}

void TMonthPrinter::Preview() {
  QPrintPreviewDialog dialog(&Printer(), dialog_parent_);
  dialog.setWindowTitle(QStringLiteral("印刷プレビュー"));
  // Left to itself the dialog opened a few pixels tall at a 7 % zoom: it takes most of the
  // screen it opens on, and the page is zoomed to fit it.
  const QScreen* screen =
      dialog_parent_ ? dialog_parent_->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect free = screen->availableGeometry();
    const QSize size = free.size() * 9 / 10;
    dialog.setGeometry(QRect(free.center() - QPoint(size.width() / 2, size.height() / 2), size));
  }
  if (auto* view = dialog.findChild<QPrintPreviewWidget*>())
    view->setZoomMode(QPrintPreviewWidget::FitInView);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* printer) { PrintOn(*printer); });
  dialog.exec();
}

QString TMonthPrinter::DefaultPdfPath() const {
  // Never the current folder: that is the data year folder, where a PDF would lie among the
  // day files. The folder last chosen, else the documents folder.
  QString folder = pdf_folder_;
  if (!QFileInfo(folder).isDir()) folder = platform::DocumentsFolder();
  return QDir(folder).filePath(pdf_name_);
}

QString TMonthPrinter::ChoosePdfFile() {
  return QFileDialog::getSaveFileName(dialog_parent_, QStringLiteral("PDF に保存"),
                                      DefaultPdfPath(), QStringLiteral("PDF ファイル (*.pdf)"));
}

void TMonthPrinter::SaveAsPdf() {
  QString file = ChoosePdfFile();
  if (file.isEmpty()) return;
  if (QFileInfo(file).suffix().isEmpty()) file += QStringLiteral(".pdf");
  pdf_folder_ = QFileInfo(file).absolutePath();
  QString error;
  if (!WritePdf(file, &error)) ReportFailure(error);
}

bool TMonthPrinter::WritePdf(const QString& file, QString* error) {
  namespace fs = std::filesystem;
  const fs::path target = fs::absolute(fs::path(file.toStdString()));
  // The page goes to a temporary file beside the target; its mended bytes then replace the
  // target in one step.
  const fs::path temporary = target.parent_path() / ("." + target.filename().string() + ".tmp");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(temporary.string()));
  printer.setDocName(QStringLiteral("ミルネ 予定表"));
  printer.setCreator(QStringLiteral("ミルネ"));
  // The page set up for printing, its orientation chosen from the window's shape at first use.
  printer.setPageLayout(Printer().pageLayout());
  std::error_code ec;
  std::string bytes;
  const bool printed = PrintOn(printer) && platform::ReadFile(temporary, bytes);
  fs::remove(temporary, ec);
  if (printed) {
    // Copied or searched text must say 月 and 日, not the radicals that share their glyphs.
    platform::FoldRadicalsInPdfTextMap(bytes);
  }
  if (!printed || !platform::ReplaceFile(target, bytes, ec)) {
    if (error) *error = QStringLiteral("PDF ファイルを書けません：") + file;
    return false;
  }
  return true;
}

}  // namespace app
