// The yardstick of the start-up benchmark: a bare Qt main window of the main window's size,
// shown as soon as the application object exists.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("bare-window"));
  window.resize(1000, 760);
  window.show();
  return application.exec();
}
