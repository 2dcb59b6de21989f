#include "app/month_printer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include <cmath>

#include "app/kvrwin.h"
#include "app/kvrwin_test_fixture.h"
#include "test_support/temp_dir.h"
#include "widgets/grad_box.h"
#include "widgets/marquee_label.h"

namespace {

using test_support::Sjis;

TEST(MonthPrinterFitTest, FitsThePrintableAreaKeepingTheProportions) {
  struct Case {
    QSizeF picture;
    QRectF page;
    QRectF expected;
  };
  const Case cases[] = {
      // A window like the default one on a portrait page: as wide as the page.
      {{1000, 760}, {0, 0, 800, 1000}, {0, 0, 800, 608}},
      // A very wide window on a landscape page: the width decides, nothing is cut.
      {{2000, 500}, {50, 40, 1000, 700}, {50, 40, 1000, 250}},
      // A tall picture: the height decides and it is centred across.
      {{500, 1000}, {0, 0, 1000, 700}, {325, 0, 350, 700}},
      // A small window is enlarged to the page.
      {{100, 50}, {0, 0, 1000, 1000}, {0, 0, 1000, 500}},
      {{0, 50}, {0, 0, 1000, 1000}, {}},
      {{100, 50}, {0, 0, 0, 1000}, {}},
  };
  for (const Case& c : cases) {
    const QRectF fit = app::TMonthPrinter::FitRect(c.picture, c.page);
    EXPECT_NEAR(fit.left(), c.expected.left(), 1e-6);
    EXPECT_NEAR(fit.top(), c.expected.top(), 1e-6);
    EXPECT_NEAR(fit.width(), c.expected.width(), 1e-6);
    EXPECT_NEAR(fit.height(), c.expected.height(), 1e-6);
    EXPECT_TRUE(fit.isEmpty() || c.page.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(fit));
  }
}

// An area that notes, while it is painted, which tool buttons are visible.
class WatchedArea : public QWidget {
 public:
  WatchedArea() {
    bar = new QWidget(this);
    bar->setGeometry(0, 0, 400, 30);
    for (int i = 0; i < 3; ++i) {
      auto* button = new QToolButton(bar);
      button->setGeometry(i * 40, 0, 38, 28);
      buttons.push_back(button);
    }
    buttons[2]->hide();  // hidden before printing: must stay hidden after it
    resize(400, 300);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter(this).drawText(10, 100, QStringLiteral("印刷"));
    visible_while_painted = 0;
    for (QToolButton* b : buttons) visible_while_painted += b->isVisible() ? 1 : 0;
  }
  QWidget* bar;
  std::vector<QToolButton*> buttons;
  int visible_while_painted = -1;
};

TEST(MonthPrinterTest, ButtonsAreHiddenWhilePrintingAndShownAgainEvenWhenItFails) {
  test_support::TempDir dir;
  WatchedArea area;
  area.show();
  app::TMonthPrinter printer(area, *area.bar, nullptr);

  const QString good = QString::fromStdString((dir.path() / "月.pdf").string());
  QString error;
  ASSERT_TRUE(printer.WritePdf(good, &error)) << error.toStdString();
  EXPECT_EQ(area.visible_while_painted, 0);
  EXPECT_TRUE(area.buttons[0]->isVisible());
  EXPECT_TRUE(area.buttons[1]->isVisible());
  EXPECT_FALSE(area.buttons[2]->isVisible());
  EXPECT_GT(fs::file_size(dir.path() / "月.pdf"), 1000u);
  // Only the finished file is left, no temporary one.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  area.visible_while_painted = -1;
  const QString bad = QString::fromStdString((dir.path() / "no-such-folder" / "x.pdf").string());
  EXPECT_FALSE(printer.WritePdf(bad, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("PDF ファイルを書けません")));
  EXPECT_TRUE(area.buttons[0]->isVisible());
  EXPECT_TRUE(area.buttons[1]->isVisible());
  EXPECT_FALSE(area.buttons[2]->isVisible());
}

QString PdfText(const fs::path& pdf) {
  QProcess tool;
  tool.start(
      QStringLiteral("pdftotext"),
      {QStringLiteral("-layout"), QString::fromStdString(pdf.string()), QStringLiteral("-")});
  tool.waitForFinished(30000);
  return QString::fromUtf8(tool.readAllStandardOutput());
}

using MonthPrinterWindowTest = KvrwinTest;

TEST_F(MonthPrinterWindowTest, ThePdfHoldsTheMonthTitleAndTheDayTextsAsText) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext is not installed";
  const fs::path data = Start() / "Myデータ";
  fs::create_directories(data / "2026");
  test_support::WriteBytes(data / "2026" / "KVR20261208.dat", Sjis("打ち合わせ\r\n"));
  test_support::WriteBytes(data / "2026" / "KVR20261224.dat", Sjis("2\r\nクリスマス会\r\n"));
  auto window = Open();
  window->show();
  window->SetDate(QDate(2026, 12, 1));
  QApplication::processEvents();
  window->MarqueeLabel1->SetCaption(QStringLiteral("継続は力なり"));
  ASSERT_TRUE(window->MarqueeLabel1->isVisible());
  app::TMonthPrinter printer(*window->centralWidget(), *window->GradBox2, window.get());
  const fs::path pdf = dir_.path() / "month.pdf";
  ASSERT_TRUE(printer.WritePdf(QString::fromStdString(pdf.string())));
  const QString text = PdfText(pdf);
  // The title is written with the full-width hyphen "－"; 月 and 日 are found as themselves.
  EXPECT_TRUE(text.contains(QStringLiteral("2026年12月のスケジュ－ル"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("20 日")));
  EXPECT_TRUE(text.contains(QStringLiteral("24 木")));
  EXPECT_TRUE(text.contains(QStringLiteral("打ち合わせ")));
  EXPECT_TRUE(text.contains(QStringLiteral("クリスマス会")));
  // The tool buttons' captions and the status line are not on the page.
  EXPECT_FALSE(text.contains(QStringLiteral("フォルダ")));
  EXPECT_FALSE(text.contains(QStringLiteral("継続"))) << text.toStdString();
  for (QToolButton* button : window->GradBox2->findChildren<QToolButton*>()) {
    EXPECT_TRUE(button->isVisible()) << button->objectName().toStdString();
  }
}

// The file dialog's answer, recorded instead of asked.
class ChosenPdfPrinter : public app::TMonthPrinter {
 public:
  using TMonthPrinter::TMonthPrinter;
  QString answer, offered;

 protected:
  QString ChoosePdfFile() override {
    offered = DefaultPdfPath();
    return answer;
  }
};

TEST_F(MonthPrinterWindowTest, PdfIsOfferedUnderTheMonthsNameInDocumentsThenTheLastFolder) {
  auto window = Open();
  window->show();
  window->SetDate(QDate(2026, 12, 1));
  // The documents folder, or the home folder where there is none.
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(documents).isDir()) documents = QDir::homePath();
  EXPECT_EQ(window->MonthPrinter->DefaultPdfPath(),
            QDir(documents).filePath(QStringLiteral("予定表_2026-12.pdf")));
  window->SetDate(QDate(2027, 1, 5));
  EXPECT_EQ(window->MonthPrinter->DefaultPdfPath(),
            QDir(documents).filePath(QStringLiteral("予定表_2027-01.pdf")));

  ChosenPdfPrinter printer(*window->centralWidget(), *window->GradBox2, window.get());
  printer.SetPdfName(QStringLiteral("予定表_2027-01.pdf"));
  const fs::path chosen = dir_.path() / "印刷";
  fs::create_directories(chosen);
  printer.answer = QString::fromStdString((chosen / "一月").string());  // no suffix given
  printer.SaveAsPdf();
  EXPECT_TRUE(fs::exists(chosen / "一月.pdf"));
  // The next month is offered in the folder chosen last, never the data folder.
  printer.SetPdfName(QStringLiteral("予定表_2027-02.pdf"));
  printer.answer.clear();
  printer.SaveAsPdf();
  EXPECT_EQ(printer.offered, QString::fromStdString((chosen / "予定表_2027-02.pdf").string()));
}

// The print dialog's answer recorded, the printer printing to a file as the dialog's
// "Print to File (PDF)" leaves it.
class ToFilePrinter : public app::TMonthPrinter {
 public:
  using TMonthPrinter::TMonthPrinter;
  QString to_file, offered_file, offered_name;

 protected:
  bool ExecPrintDialog(QPrinter& printer) override {
    offered_file = printer.outputFileName();
    offered_name = printer.docName();
    if (to_file.isEmpty()) return false;
    printer.setOutputFileName(to_file);
    return true;
  }
};

TEST_F(MonthPrinterWindowTest, ThePrintDialogOffersTheFileNamePdfSavingOffers) {
  auto window = Open();
  window->show();
  window->SetDate(QDate(2026, 12, 1));
  QApplication::processEvents();
  // The documents folder, or the home folder where there is none.
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!QFileInfo(documents).isDir()) documents = QDir::homePath();
  // The dialog itself: its file field holds the month's PDF name in the documents folder.
  QString field;
  QTimer::singleShot(0, [&field] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    if (auto* file = dialog->findChild<QLineEdit*>(QStringLiteral("filename")))
      field = file->text();
    dialog->reject();
  });
  window->MonthPrinter->Print();
  EXPECT_EQ(field, QDir(documents).filePath(QStringLiteral("予定表_2026-12.pdf")));

  ToFilePrinter printer(*window->centralWidget(), *window->GradBox2, window.get());
  printer.SetPdfName(QStringLiteral("予定表_2026-12.pdf"));
  const fs::path chosen = dir_.path() / "印刷";
  fs::create_directories(chosen);
  printer.to_file = QString::fromStdString((chosen / "十二月.pdf").string());
  printer.Print();
  EXPECT_EQ(printer.offered_name, QStringLiteral("予定表_2026-12"));
  EXPECT_TRUE(printer.offered_file.isEmpty());  // a printer, not yet a file
  EXPECT_TRUE(fs::exists(chosen / "十二月.pdf"));
  // Printed to a file once, the printer is offered the next month's name in that folder.
  printer.SetPdfName(QStringLiteral("予定表_2027-01.pdf"));
  printer.to_file.clear();
  printer.Print();
  EXPECT_EQ(printer.offered_name, QStringLiteral("予定表_2027-01"));
  EXPECT_EQ(printer.offered_file, QString::fromStdString((chosen / "予定表_2027-01.pdf").string()));
  EXPECT_EQ(printer.DefaultPdfPath(), printer.offered_file);
}

}  // namespace

namespace {

struct ProgramRun {
  int status;
  QString errors;
};

ProgramRun RunProgram(const fs::path& dir, const QStringList& args) {
  QProcess program;
  program.setWorkingDirectory(QString::fromStdString(dir.string()));
  program.start(QStringLiteral(MIRUNE_PROGRAM), args);
  program.waitForFinished(60000);
  return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
          QString::fromUtf8(program.readAllStandardError())};
}

TEST(PrintPdfCommandTest, WritesOneFittedPageOfTheMonthOrExitsWithStatusTwo) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
    GTEST_SKIP() << "pdftotext is not installed";
  test_support::TempDir dir;
  // A relative name is the folder the command was started in, not the data folder.
  ProgramRun run =
      RunProgram(dir.path(), {"--print-pdf", "half.pdf", "2026-12", "--half", "first"});
  ASSERT_EQ(run.status, 0) << run.errors.toStdString();
  const QString text = PdfText(dir.path() / "half.pdf");
  EXPECT_TRUE(text.contains(QStringLiteral("2026年11月後半"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("2026年12月前半")));

  struct Case {
    QStringList args;
    const char* message;
  };
  const Case bad[] = {
      {{"--print-pdf", "x.pdf", "2026-13"}, "月は YYYY-MM で指定して下さい"},
      {{"--print-pdf", "x.pdf", "2026-12", "--half", "third"}, "--half には first か second"},
      {{"--print-pdf", "x.pdf"}, "使い方: mirune --print-pdf"},
      {{"--print-pdf", "no-such-folder/x.pdf", "2026-12"}, "PDF ファイルを書けません"},
  };
  for (const Case& c : bad) {
    run = RunProgram(dir.path(), c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.message))) << run.errors.toStdString();
  }
  EXPECT_FALSE(fs::exists(dir.path() / "x.pdf"));
}

}  // namespace
