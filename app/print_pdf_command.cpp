#include "app/print_pdf_command.h"

#include <QApplication>
#include <QDate>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/kvrwin.h"
#include "app/month_printer.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "settings/settings_location.h"

namespace fs = std::filesystem;

namespace app {
namespace {

constexpr char kUsage[] = "使い方: mirune --print-pdf FILE YYYY-MM [--half first|second]\n";

int Fail(const QString& text) {
  std::fprintf(stderr, "mirune: %s\n", text.toUtf8().constData());
  return 2;
}

}  // namespace

bool IsPrintPdfCommand(int argc, char** argv) {
  return argc > 1 && std::strcmp(argv[1], "--print-pdf") == 0;
}

int RunPrintPdfCommand(int argc, char** argv) {
  // The window is drawn without a display, whatever the session offers.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  platform::UseJapaneseUiFont();
  QApplication::setApplicationName(QStringLiteral("ミルネ"));

  const QStringList args = QApplication::arguments();
  QString half;
  if (args.size() == 6 && args[4] == QLatin1String("--half")) {
    half = args[5];
  } else if (args.size() != 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  static const QRegularExpression month_pattern(QStringLiteral("^(\\d{4})-(\\d{2})$"));
  const auto m = month_pattern.match(args[3]);
  const QDate first =
      m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1) : QDate();
  if (!first.isValid()) return Fail(QStringLiteral("月は YYYY-MM で指定して下さい：") + args[3]);
  if (!half.isEmpty() && half != QLatin1String("first") && half != QLatin1String("second")) {
    return Fail(QStringLiteral("--half には first か second を指定して下さい：") + half);
  }

  // The window moves the working folder to the data folder; a relative name means the folder
  // the command was started in.
  const QString pdf_file = QFileInfo(args[2]).absoluteFilePath();

  // The window reads a copy of the user's settings, so that what it writes when it closes
  // (placement, half-month switch) never changes the user's own settings file.
  QTemporaryDir settings_dir;
  if (!settings_dir.isValid()) return Fail(QStringLiteral("一時フォルダを作れません"));
  const fs::path own_settings = settings::SettingsFilePath(platform::ExecutableDir());
  const fs::path copy = fs::path(settings_dir.path().toStdString()) / settings::kSettingsFileName;
  std::error_code ec;
  if (fs::exists(own_settings, ec)) fs::copy_file(own_settings, copy, ec);
  platform::OverrideExecutableDir(settings_dir.path().toStdString());
  platform::SetMessageHook([](const platform::MessageRequest& request) {
    std::fprintf(stderr, "mirune: %s\n", request.text.toUtf8().constData());
    return QMessageBox::Ok;
  });

  int status = 0;
  {
    AppContext context(platform::CurrentDir());
    TKvrwin window(context);
    window.show();
    QApplication::processEvents();
    window.LeaveHalfMonth();
    window.SetDate(first);
    if (half == QLatin1String("first")) window.PrevHalfMonth();
    if (half == QLatin1String("second")) window.NextHalfMonth();
    QApplication::processEvents();
    QString error;
    if (!window.Printer().WritePdf(pdf_file, &error)) status = Fail(error);
  }
  platform::SetMessageHook(nullptr);
  platform::OverrideExecutableDir({});
  return status;
}

}  // namespace app
