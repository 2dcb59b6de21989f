// The printed month read back from its PDF: each cell's text where the cell is and nothing
// that the cell does not show, and the preview's page the same as the PDF's page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "app/kvrwin.h"
#include "app/kvrwin_test_fixture.h"
#include "app/month_printer.h"
#include "platform/string_grid.h"
#include "test_support/temp_dir.h"
#include "widgets/grad_box.h"

namespace {

using test_support::Sjis;

// The window with what a cell shows, line by line, as its painter lays it out.
class ShownKvrwin : public TestKvrwin {
 public:
  using TestKvrwin::TestKvrwin;
  QStringList CellLines(int grid, int col, int row) const {
    const QRect cell = Grid(grid)->ShownCellRect(col, row);
    QStringList lines;
    if (col == 1) {
      for (const auto& line : app::MonthGridPainter::TextLines(cell, painter_.Text(grid - 1, row),
                                                               ShownFont(yotei_font_)))
        lines << line.text;
      return lines;
    }
    const auto date =
        app::MonthGridPainter::LayDate(cell, painter_.Date(grid - 1, row), ShownFont(days_font_));
    return {date.date.text, date.rokuyou.text, date.holiday.text};
  }
  using TKvrwin::Grid;
};

struct PdfWord {
  QRectF box;
  QString text;
};

QByteArray RunTool(const QString& program, const QStringList& args) {
  QProcess tool;
  tool.start(program, args);
  tool.waitForFinished(60000);
  return tool.readAllStandardOutput();
}

// The words of the first page with their boxes in points from the paper's top left.
std::vector<PdfWord> PdfWords(const fs::path& pdf) {
  const QString xhtml = QString::fromUtf8(RunTool(
      QStringLiteral("pdftotext"),
      {QStringLiteral("-bbox"), QString::fromStdString(pdf.string()), QStringLiteral("-")}));
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  std::vector<PdfWord> words;
  for (auto m = word.globalMatch(xhtml); m.hasNext();) {
    const auto w = m.next();
    const QPointF top_left(w.captured(1).toDouble(), w.captured(2).toDouble());
    const QPointF bottom_right(w.captured(3).toDouble(), w.captured(4).toDouble());
    words.push_back({QRectF(top_left, bottom_right), w.captured(5)});
  }
  return words;
}

// The characters of a text but its blanks, in order: a multiset to compare, as the text tool
// may read a cell's words in another order than they are drawn.
QString SortedCharacters(const QString& text) {
  QString kept;
  for (QChar c : text) {
    if (!c.isSpace()) kept += c;
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

struct PrintedMonth {
  std::unique_ptr<ShownKvrwin> window;
  std::unique_ptr<app::TMonthPrinter> printer;
  fs::path pdf;
  // From the printed area's pixels to points on the paper.
  QTransform to_page;
};

class PrintedPageTest : public KvrwinTest {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
      GTEST_SKIP() << "poppler-utils are not installed";
  }

  // December 2026 with days whose texts are longer than their cells, printed to a PDF.
  PrintedMonth Print() {
    const fs::path year = Start() / "Myデータ" / "2026";
    fs::create_directories(year);
    auto day = [&](int d, const char* text) {
      char name[32];
      std::snprintf(name, sizeof name, "KVR202612%02d.dat", d);
      test_support::WriteBytes(year / name, Sjis(text));
    };
    day(1, "甲の行\r\n乙の行\r\n丙の行\r\n丁の行\r\n戊の行\r\n己の行\r\n庚の行\r\n");
    day(2, "https://example.com/meeting/room/2026/12/02/agenda/minutes/followup/items\r\n");
    day(3,
        "年末の大掃除は二十八日に事務所全体で行い、書類の整理と机の移動と窓拭きと床の"
        "ワックスがけまで済ませてから納会に移ります\r\n");
    day(17, "打ち合わせ A 10:30 Room 12\r\n");
    day(24, "クリスマス会\r\n");
    PrintedMonth month;
    month.window = std::make_unique<ShownKvrwin>(NewContext());
    month.window->SetCalendar(&fake_calendar_);
    month.window->show();
    month.window->SetDate(QDate(2026, 12, 1));
    QApplication::processEvents();
    QWidget& area = *month.window->centralWidget();
    month.printer =
        std::make_unique<app::TMonthPrinter>(area, *month.window->GradBox2, month.window.get());
    month.pdf = dir_.path() / "month.pdf";
    EXPECT_TRUE(month.printer->WritePdf(QString::fromStdString(month.pdf.string())));
    const QPageLayout layout = month.printer->Printer().pageLayout();
    month.to_page = app::TMonthPrinter::AreaToPage(QSizeF(month.printer->PrintedSize()),
                                                   layout.paintRect(QPageLayout::Point));
    return month;
  }
};

TEST_F(PrintedPageTest, EachWordLiesInItsCellAndEachCellHoldsWhatItShows) {
  PrintedMonth month = Print();
  const std::vector<PdfWord> words = PdfWords(month.pdf);
  ASSERT_FALSE(words.empty());
  QWidget& area = *month.window->centralWidget();
  // The cells on the paper, and the words whose middle lies in each.
  struct Cell {
    int grid, col, row;
    QRectF on_page;
    QString words;
  };
  std::vector<Cell> cells;
  for (int g = 1; g <= 2; ++g) {
    platform::TStringGrid* grid = month.window->Grid(g);
    for (int row = 0; row < 16; ++row) {
      for (int col = 0; col < 2; ++col) {
        const QRect cell = grid->ShownCellRect(col, row);
        const QRect in_area(grid->mapTo(&area, cell.topLeft()), cell.size());
        cells.push_back({g, col, row, month.to_page.mapRect(QRectF(in_area)), {}});
      }
    }
  }
  const double slack = 0.75;  // points: the boxes are rounded to a tenth, the cells to pixels
  for (const PdfWord& word : words) {
    for (Cell& cell : cells) {
      if (!cell.on_page.contains(word.box.center())) continue;
      cell.words += word.text;
      EXPECT_TRUE(cell.on_page.adjusted(-slack, -slack, slack, slack).contains(word.box))
          << word.text.toStdString() << " at " << word.box.left() << "," << word.box.top() << " "
          << word.box.right() << "," << word.box.bottom() << " leaves cell " << cell.grid << "/"
          << cell.col << "/" << cell.row;
    }
  }
  int long_texts = 0;
  for (const Cell& cell : cells) {
    const QStringList shown = month.window->CellLines(cell.grid, cell.col, cell.row);
    EXPECT_EQ(SortedCharacters(cell.words), SortedCharacters(shown.join(QString())))
        << "cell " << cell.grid << "/" << cell.col << "/" << cell.row << " shows "
        << shown.join(QStringLiteral("|")).toStdString() << " but the PDF has "
        << cell.words.toStdString();
    if (cell.col == 1 && cell.words.contains(QStringLiteral("甲の行"))) ++long_texts;
  }
  EXPECT_EQ(long_texts, 1);
  // The lines the first day's cell has no room for are nowhere in the PDF.
  QString all;
  for (const PdfWord& word : words) all += word.text;
  EXPECT_FALSE(all.contains(QStringLiteral("庚の行")));
  EXPECT_FALSE(all.contains(QStringLiteral("納会")));
}

// The page as the print preview shows it, rendered from its scene at `size` pixels.
QImage PreviewPage(app::TMonthPrinter& printer, const QSize& size) {
  QPrintPreviewWidget preview(&printer.Printer());
  QObject::connect(&preview, &QPrintPreviewWidget::paintRequested,
                   [&printer](QPrinter* p) { printer.PrintOn(*p); });
  preview.resize(900, 700);
  preview.show();
  preview.updatePreview();
  QApplication::processEvents();
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  auto* view = preview.findChild<QGraphicsView*>();
  if (!view || !view->scene() || view->scene()->items().isEmpty()) return {};
  // The page item's bounds are the paper with an equal border for its shadow on every side.
  const QGraphicsItem* page = view->scene()->items().last();
  const QRectF bounds = page->boundingRect();
  const QRectF paper(0, 0, bounds.width() + 2 * bounds.left(), bounds.height() + 2 * bounds.top());
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  view->scene()->render(&painter, QRectF(QPointF(), QSizeF(size)), page->mapRectToScene(paper),
                        Qt::IgnoreAspectRatio);
  return image;
}

// The smallest rectangle holding every pixel that is not near white.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) < 235 || qGreen(p) < 235 || qBlue(p) < 235) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// Whether `p` of one image has a pixel within `tolerance` in the 3 x 3 around it in `other`
// (the two renderers place an edge up to a pixel apart).
bool HasNear(const QImage& other, int x, int y, QRgb p, int tolerance) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      const int ox = x + dx, oy = y + dy;
      if (ox < 0 || oy < 0 || ox >= other.width() || oy >= other.height()) continue;
      const QRgb q = other.pixel(ox, oy);
      if (std::abs(qRed(p) - qRed(q)) <= tolerance &&
          std::abs(qGreen(p) - qGreen(q)) <= tolerance &&
          std::abs(qBlue(p) - qBlue(q)) <= tolerance)
        return true;
    }
  }
  return false;
}

TEST_F(PrintedPageTest, ThePreviewShowsThePageThePdfHolds) {
  PrintedMonth month = Print();
  constexpr int kDpi = 60;
  const fs::path png = dir_.path() / "page";
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
           QStringLiteral("-singlefile"), QString::fromStdString(month.pdf.string()),
           QString::fromStdString(png.string())});
  QImage pdf_page(QString::fromStdString(png.string() + ".png"));
  ASSERT_FALSE(pdf_page.isNull());
  pdf_page = pdf_page.convertToFormat(QImage::Format_RGB32);
  const QImage preview_page = PreviewPage(*month.printer, pdf_page.size());
  ASSERT_FALSE(preview_page.isNull());

  // Both hold the printed area where it is fitted to the page, inside the printable area: a
  // drawing scaled wrongly would run over the page's edge or stop short of the fit.
  const QTransform to_pixels = month.to_page * QTransform::fromScale(kDpi / 72.0, kDpi / 72.0);
  const QRect expected =
      to_pixels.mapRect(QRectF(QPointF(), QSizeF(month.printer->PrintedSize()))).toAlignedRect();
  for (const QImage* image : {static_cast<const QImage*>(&pdf_page), &preview_page}) {
    const QRect ink = InkBounds(*image);
    const char* which = image == &pdf_page ? "pdf" : "preview";
    EXPECT_NEAR(ink.left(), expected.left(), 2) << which;
    EXPECT_NEAR(ink.top(), expected.top(), 2) << which;
    EXPECT_NEAR(ink.right(), expected.right(), 2) << which;
    // The area's background below the grids may be as light as the paper.
    EXPECT_LE(ink.bottom(), expected.bottom() + 2) << which;
    EXPECT_LT(ink.right(), image->width() - 1) << which;
  }

  // Pixel by pixel, each image has the other's colour within a pixel of the same place, but
  // for a few antialiased glyph edges (a grid line lost from one of them is ten times more).
  int differing = 0;
  for (int y = 0; y < pdf_page.height(); ++y) {
    for (int x = 0; x < pdf_page.width(); ++x) {
      if (!HasNear(preview_page, x, y, pdf_page.pixel(x, y), 48) ||
          !HasNear(pdf_page, x, y, preview_page.pixel(x, y), 48))
        ++differing;
    }
  }
  const double fraction = double(differing) / (pdf_page.width() * pdf_page.height());
  if (fraction >= 0.002)
    preview_page.save(QString::fromStdString((dir_.path() / "preview.png").string()));
  EXPECT_LT(fraction, 0.002) << differing << " pixels differ";
}

int Grey(QRgb p) {
  return qGray(p);
}

TEST_F(PrintedPageTest, BothGridsDrawTheRowLinesOfTheirDateColumnsOnScreenAndOnPaper) {
  PrintedMonth month = Print();
  // At a small zoom, where a viewer snaps fills to whole pixels.
  constexpr int kDpi = 60;
  const fs::path png = dir_.path() / "lines";
  RunTool(QStringLiteral("pdftoppm"),
          {QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-png"),
           QStringLiteral("-singlefile"), QString::fromStdString(month.pdf.string()),
           QString::fromStdString(png.string())});
  const QImage paper(QString::fromStdString(png.string() + ".png"));
  ASSERT_FALSE(paper.isNull());
  QWidget& area = *month.window->centralWidget();
  const QImage screen = area.grab().toImage();
  const QTransform to_pixels = month.to_page * QTransform::fromScale(kDpi / 72.0, kDpi / 72.0);
  for (int g = 1; g <= 2; ++g) {
    platform::TStringGrid* grid = month.window->Grid(g);
    for (int row = 0; row < 15; ++row) {
      SCOPED_TRACE(testing::Message() << "grid " << g << " below row " << row);
      const QRect cell = grid->CellRect(0, row);
      // The line below the cell, in the middle of the date column.
      const QPoint line = grid->mapTo(&area, QPoint(cell.center().x(), cell.bottom() + 1));
      EXPECT_EQ(screen.pixelColor(line), QColor(0x80, 0x80, 0x80));
      // On paper the line is about a pixel thick wherever it falls: the darkest pixel near
      // its place against the cell's inside above it.
      const QPoint on_paper = to_pixels.map(QPointF(line) + QPointF(0, 0.5)).toPoint();
      const QPoint inside = to_pixels.map(QPointF(line) + QPointF(0, -6)).toPoint();
      int darkest = 255;
      for (int dy = -1; dy <= 1; ++dy)
        darkest = std::min(darkest, Grey(paper.pixel(on_paper + QPoint(0, dy))));
      EXPECT_LT(darkest + 30, Grey(paper.pixel(inside)))
          << "paper " << on_paper.x() << "," << on_paper.y();
    }
  }
}

}  // namespace
