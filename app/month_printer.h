// TMonthPrinter: prints the month as the main window shows it (title and both grids)
// without the tool buttons, fitted to the page, and offers the printer set-up, a preview and a
// PDF copy. The window is painted as vector drawing, so that text stays text in a PDF.
#pragma once

#include <QObject>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

class QPrinter;
class QTransform;
class QWidget;

namespace app {

class TMonthPrinter : public QObject {
  Q_OBJECT

 public:
  // `area` is the window's client area that is printed; the tool buttons on `tool_bar` are
  // hidden while it is painted. Dialogs belong to `dialog_parent`.
  TMonthPrinter(QWidget& area, QWidget& tool_bar, QWidget* dialog_parent);
  ~TMonthPrinter() override;

  // "印刷(&P)..." and the tool button: the print dialog, then one page.
  void Print();
  // "印刷設定(&S)...": page size, orientation and margins of later printing.
  void PrinterSetup();
  void Preview();
  // Asks for a file name, then writes the page as a PDF file.
  void SaveAsPdf();
  // The file name the next SaveAsPdf offers (the shown month's), and where: the folder last
  // chosen in this run, else the user's documents folder.
  void SetPdfName(const QString& name) { pdf_name_ = name; }
  QString DefaultPdfPath() const;
  // Writes the page as a PDF to `file` (replacing it only once it is complete); false with
  // `error` set when it cannot be written.
  bool WritePdf(const QString& file, QString* error = nullptr);

  // Paints the area on one page of `printer`, the tool buttons hidden meanwhile and shown
  // again in every case. False when the printer cannot be painted on.
  bool PrintOn(QPrinter& printer);

  // The largest rectangle with the proportions of `picture` inside `page`, centred across and
  // at the top, so that a wide window is never cut at the page's edges.
  static QRectF FitRect(const QSizeF& picture, const QRectF& page);
  // From the printed area's pixels to `page`'s units: the area fitted into `page` (FitRect).
  static QTransform AreaToPage(const QSizeF& printed, const QRectF& page);
  // The part of the area that is printed: all of it above the status line.
  QSize PrintedSize() const;

  QPrinter& Printer();

 protected:
  // The modal parts, replaced in tests.
  virtual bool ExecPrintDialog(QPrinter& printer);
  virtual QString ChoosePdfFile();
  // Names the document and any file it is printed to as PDF に保存 would (DefaultPdfPath).
  void OfferPdfPath(QPrinter& printer) const;
  void ReportFailure(const QString& text);

 private:
  QWidget& area_;
  QWidget& tool_bar_;
  QWidget* dialog_parent_;
  std::unique_ptr<QPrinter> printer_;
  QString pdf_name_ = QStringLiteral("予定表.pdf");
  QString pdf_folder_;  // the folder last saved into
};

}  // namespace app
