// The yardsticks of the start-up benchmark: a bare Qt main window of the main window's size,
// shown as soon as the application object exists; with --text it shows one line of Japanese
// text, and so pays for starting the font machinery as every program with text does.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("bare-window"));
  window.resize(1000, 760);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    window.setCentralWidget(new QLabel(QStringLiteral("ミルネの予定表"), &window));
  }
  window.show();
  return application.exec();
}
