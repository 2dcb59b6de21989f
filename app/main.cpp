// The program entry: the start-up window, the application title, the windows in their order,
// and the message loop, in which an exception is shown in the standard error box and the loop
// goes on.
#include <QApplication>
#include <QPointer>

#include <exception>

#include "app/kvrwin.h"
#include "app/print_pdf_command.h"
#include "app/version_info.h"
#include "calendar/calendar.h"
#include "clock/time_clock.h"
#include "daydata/iptdlg.h"
#include "platform/drawn_icon_style.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/translations.h"

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
  QApplication::setStyle(new platform::DrawnIconStyle);
  platform::UseJapaneseUiFont();
  platform::InstallJapaneseTranslations(&application);
  // The title of the task-bar entry and of the error box.
  QApplication::setApplicationName(QStringLiteral("ミルネ"));
  QGuiApplication::setDesktopFileName(QStringLiteral("mirune"));
  try {
    auto* version = new app::TVersionInfo;
    version->show();
    version->repaint();
    QApplication::processEvents();
    app::TKvrwin main_window(version);
    // The main window goes on the screen before the entry dialog is made: the user sees the
    // month while the dialog's widgets are built (nothing can open it before the loop runs).
    main_window.show();
    // Made once and reused for every day; destroyed before the main window it reads.
    daydata::TIptdlg day_entry(main_window);
    main_window.SetDayEntry(&day_entry);
    // Lives for the whole run beside the main window, which it follows.
    calendar::TCalendar calendar_window(main_window, &main_window);
    main_window.SetCalendar(&calendar_window);
    calendar_window.ShowAtStart();
    // The clock window comes after the main window, whose settings and today it uses. Closing
    // it destroys it; what is left at the end goes before the main window.
    QPointer<timeclock::TTimeClock> clock = new timeclock::TTimeClock(main_window);
    clock->show();
    const int status = application.exec();
    delete clock;
    return status;
  } catch (const std::exception& e) {
    platform::ShowErrorBox(nullptr, QString::fromUtf8(e.what()));
    return 1;
  }
}
