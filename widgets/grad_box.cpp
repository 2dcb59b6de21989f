#include "widgets/grad_box.h"

#include <QPainter>

#include <cmath>

#include "platform/system_colours.h"

namespace widgets {
namespace {

QColor Entry(std::uint32_t value) {
  return platform::ToQColor(value & 0xFFFFFF);
}

}  // namespace

TGradBox::TGradBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  resize(200, 100);
}

template <typename T>
bool TGradBox::Change(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}

void TGradBox::SetTopColor(std::uint32_t c) {
  if (Change(top_color_, c)) update();
}
void TGradBox::SetLastColor(std::uint32_t c) {
  if (Change(last_color_, c)) update();
}
void TGradBox::SetGradStyle(TGradStyle s) {
  if (Change(grad_style_, s)) update();
}
void TGradBox::SetOutLineColor(std::uint32_t c) {
  if (Change(outline_color_, c) && draw_outline_) update();
}
void TGradBox::SetDrawOutLine(bool d) {
  if (Change(draw_outline_, d)) update();
}
void TGradBox::SetCaptionLeft(int l) {
  if (Change(caption_left_, l)) update();
}
void TGradBox::SetCaptionTop(int t) {
  if (Change(caption_top_, t)) update();
}
void TGradBox::SetFont3D(bool on) {
  if (Change(font_3d_, on)) update();
}
void TGradBox::SetStyle3D(TFontStyle3D s) {
  if (Change(style_3d_, s)) update();
}
void TGradBox::SetFontDepth(int d) {
  d = std::clamp(d, 0, 255);  // a byte
  if (Change(font_depth_, d) && font_3d_) update();
}
void TGradBox::SetBackFont(std::uint32_t c) {
  if (Change(back_font_, c) && font_3d_) update();
}
void TGradBox::SetCaption(const QString& c) {
  if (Change(caption_, c)) update();
}
void TGradBox::SetFontColor(std::uint32_t c) {
  if (Change(font_color_, c)) update();
}

void TGradBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (grad_style_ != TGradStyle::gsNone) {
    bool forward = grad_style_ == TGradStyle::gsTopBottom || grad_style_ == TGradStyle::gsLeftRight;
    std::uint32_t top = platform::ToColourValue(platform::ToQColor(top_color_));
    std::uint32_t last = platform::ToColourValue(platform::ToQColor(last_color_));
    table_ = forward ? MakeGradientTable(top, last) : MakeGradientTable(last, top);
    bool vertical =
        grad_style_ == TGradStyle::gsTopBottom || grad_style_ == TGradStyle::gsBottomTop;
    double step = (vertical ? height() : width()) / 255.0;
    int band = static_cast<int>(std::lrint(step + 1));
    for (int i = 0; i < 256; ++i) {
      int start = static_cast<int>(std::lrint(i * step));
      QRect r = vertical ? QRect(0, start, width(), band) : QRect(start, 0, band, height());
      painter.fillRect(r, Entry(table_[static_cast<size_t>(i)]));
    }
  }
  if (draw_outline_) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(platform::ToQColor(outline_color_), 1, Qt::SolidLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
  if (!caption_.isEmpty()) {
    painter.setFont(font());
    QColor text = platform::ToQColor(font_color_);
    QColor back = platform::ToQColor(back_font_);
    if (!isEnabled()) {
      DrawCaption(painter, {1, 1}, Qt::white);
      DrawCaption(painter, {0, 0}, QColor(0x80, 0x80, 0x80));
    } else {
      if (font_3d_) {
        int d = font_depth_;
        switch (style_3d_) {
          case TFontStyle3D::fsLowShadow:
            if (d > 0) DrawCaption(painter, {d, d}, back);
            break;
          case TFontStyle3D::fsRaiseShadow:
            if (d > 0) DrawCaption(painter, {-d, -d}, back);
            break;
          case TFontStyle3D::fsLow3D:
            for (int i = 1; i <= d; ++i) DrawCaption(painter, {i, i}, back);
            break;
          case TFontStyle3D::fsRaise3D:
            for (int i = 1; i <= d; ++i) DrawCaption(painter, {-i, -i}, back);
            break;
        }
      }
      DrawCaption(painter, {0, 0}, text);
    }
  }
  if (OnPaint) OnPaint(painter);
}

void TGradBox::DrawCaption(QPainter& painter, const QPoint& offset, const QColor& colour) {
  painter.setPen(colour);
  QRect r(QPoint(caption_left_, caption_top_), QPoint(width() - 1, height() - 1));
  r.translate(offset);
  painter.drawText(r, Qt::TextWordWrap | Qt::TextExpandTabs, caption_);
}

}  // namespace widgets
