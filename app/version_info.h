// TVersionInfo: the small stay-on-top window with the product name and version that stands on
// the screen while the program starts. The main window closes it when it has set itself up.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class TVersionInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TVersionInfo(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* StaticText1;
  QLabel* StaticText2;
  QLabel* StaticText3;
  QPushButton* Button1;

 private slots:
  void Button1Click();
};

}  // namespace app
