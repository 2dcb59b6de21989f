#include "app/version_info.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "platform/fonts.h"

namespace app {
namespace {

// The product picture: a leaf of a day calendar, drawn rather than shipped as a file. Its one
// letter is in the title's font, whose glyphs the window loads anyway: every other face or size
// would delay the main window by a quarter to a whole millisecond.
QPixmap ProductPicture(const QFont& title) {
  QPixmap picture(64, 64);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 90, 90), 2));
  p.setBrush(Qt::white);
  p.drawRoundedRect(6, 8, 52, 50, 6, 6);
  p.setBrush(QColor(200, 40, 40));
  p.drawRoundedRect(6, 8, 52, 16, 6, 6);
  // The two rings the leaf hangs from.
  p.setBrush(Qt::white);
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.drawEllipse(QPointF(21, 16), 3, 3);
  p.drawEllipse(QPointF(43, 16), 3, 3);
  p.setPen(QColor(40, 40, 40));
  p.setFont(title);
  p.drawText(QRect(6, 24, 52, 34), Qt::AlignCenter, QStringLiteral("暦"));
  return picture;
}

}  // namespace

TVersionInfo::TVersionInfo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("VersionInfo");
  setWindowTitle(QStringLiteral("ミルネ for Windows"));
  setAttribute(Qt::WA_DeleteOnClose);  // frees itself when it is closed

  // Without a caption bar only the dialog border remains: a raised frame of our own.
  auto* border = new QFrame(this);
  border->setFrameStyle(QFrame::Panel | QFrame::Raised);
  border->setLineWidth(2);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(border);

  QFont title(platform::kMinchoFace);
  title.setPixelSize(26);
  title.setBold(true);

  Image1 = new QLabel(border);
  Image1->setObjectName("Image1");
  Image1->setPixmap(ProductPicture(title));
  Image1->setFrameStyle(QFrame::Box | QFrame::Sunken);  // the two bevels around the picture
  Image1->setLineWidth(1);
  Image1->setMidLineWidth(1);

  StaticText1 = new QLabel(QStringLiteral("ミルネ"), border);
  StaticText1->setObjectName("StaticText1");
  StaticText1->setFont(title);
  StaticText3 = new QLabel(QStringLiteral("for  Windows"), border);
  StaticText3->setObjectName("StaticText3");
  StaticText2 = new QLabel(QStringLiteral("Version 2.0"), border);
  StaticText2->setObjectName("StaticText2");
  Button1 = new QPushButton(QStringLiteral("OK"), border);
  Button1->setObjectName("Button1");
  connect(Button1, &QPushButton::clicked, this, &TVersionInfo::Button1Click);

  auto* texts = new QVBoxLayout;
  texts->addWidget(StaticText1);
  texts->addWidget(StaticText3);
  texts->addWidget(StaticText2);
  auto* row = new QHBoxLayout;
  row->addWidget(Image1);
  row->addSpacing(12);
  row->addLayout(texts);
  auto* inner = new QVBoxLayout(border);
  inner->setContentsMargins(16, 16, 16, 12);
  inner->addLayout(row);
  inner->addWidget(Button1, 0, Qt::AlignRight);

  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TVersionInfo::Button1Click() {
  close();
}

}  // namespace app
