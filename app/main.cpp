// The program entry: the start-up window, the application title, the windows in their order,
// and the message loop, in which an exception is shown in the standard error box and the loop
// goes on. A second start with the same settings file brings the first one to the front.
#include <QApplication>

#include <exception>

#include "app/app_context.h"
#include "app/print_pdf_command.h"
#include "app/program_windows.h"
#include "app/single_instance.h"
#include "app/version_info.h"
#include "platform/drawn_icon_style.h"
#include "platform/executable_dir.h"
#include "platform/file_dialog_columns.h"
#include "platform/file_system.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/translations.h"
#include "settings/settings_location.h"

namespace {

class MiruneApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      platform::ShowErrorBox(nullptr, QString::fromUtf8(e.what()));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (app::IsPrintPdfCommand(argc, argv)) return app::RunPrintPdfCommand(argc, argv);
  MiruneApplication application(argc, argv);
  app::SingleInstance instance(
      app::SingleInstance::ServerName(settings::SettingsFilePath(platform::ExecutableDir())));
  if (instance.HandOver()) return 0;
  instance.Listen();
  QApplication::setStyle(new platform::DrawnIconStyle);
  platform::UseJapaneseUiFont();
  platform::InstallJapaneseTranslations(&application);
  platform::FitEveryFileDialogsColumns(&application);
  // The title of the task-bar entry and of the error box.
  QApplication::setApplicationName(QStringLiteral("ミルネ"));
  QGuiApplication::setDesktopFileName(QStringLiteral("mirune"));
  try {
    auto* version = new app::TVersionInfo;
    version->show();
    version->repaint();
    QApplication::processEvents();
    // What every window shares: the settings, the folders, the help file, the clock.
    app::AppContext context(platform::CurrentDir());
    app::ProgramWindows windows(context, version);
    QObject::connect(&instance, &app::SingleInstance::Activated, &windows,
                     &app::ProgramWindows::Activate);
    windows.Show();
    return application.exec();
  } catch (const std::exception& e) {
    platform::ShowErrorBox(nullptr, QString::fromUtf8(e.what()));
    return 1;
  }
}
