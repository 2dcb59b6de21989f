#include "widgets/marquee_label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <cstdlib>

namespace widgets {

TMarqueeLabel::TMarqueeLabel(QWidget* parent) : QWidget(parent) {
  color_ = palette().color(QPalette::Button);
  setAttribute(Qt::WA_OpaquePaintEvent);
  timer_.setInterval(100);
  connect(&timer_, &QTimer::timeout, this, &TMarqueeLabel::Step);
}

void TMarqueeLabel::SetSpeed(int ms) {
  ms = std::clamp(ms, 1, 1000);
  if (ms == speed_) return;
  speed_ = ms;
  timer_.setInterval(TimerInterval());
}

void TMarqueeLabel::SetSteps(int steps) {
  steps_ = std::max(steps, 1);
}

void TMarqueeLabel::SetDirection(TMarqueeDirection direction) {
  if (direction == direction_) return;
  direction_ = direction;
  update();
}

void TMarqueeLabel::SetShadow(const TMarqueeShadow& shadow) {
  if (shadow == shadow_) return;
  shadow_ = shadow;
  update();
}

void TMarqueeLabel::SetCaption(const QString& text) {
  if (text == caption_) return;
  caption_ = text;
  layout_dirty_ = true;
  update();
}

void TMarqueeLabel::SetColor(const QColor& colour) {
  if (colour == color_) return;
  color_ = colour;
  update();
}

void TMarqueeLabel::SetFontColor(const QColor& colour) {
  if (colour == font_color_) return;
  font_color_ = colour;
  update();
}

void TMarqueeLabel::Start(int position) {
  if (timer_.isActive()) return;
  position_ = position >= 0 && position <= steps_ ? position : 0;
  timer_.setInterval(TimerInterval());
  timer_.start();
}

void TMarqueeLabel::Step() {
  if (!timer_.isActive()) return;
  if (position_ == 0 && OnBegin) OnBegin();
  ++position_;
  if (OnStep) OnStep();
  repaint();
  if (position_ >= steps_) {
    timer_.stop();
    if (OnEnd) OnEnd();
    position_ = 0;
  }
}

int TMarqueeLabel::TimerInterval() const {
  // The shortest interval is the tick of a Windows timer: the status line is set to step as
  // fast as the timer goes, and a pass must take as long as it did there to be readable.
  return std::max(speed_, kShortestTick);
}

QString TMarqueeLabel::Line() const {
  // One line: line breaks in the text are not interpreted, the lines simply follow each other.
  QString line = caption_;
  return line.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

void TMarqueeLabel::EnsureLayout() const {
  if (!layout_dirty_) return;
  layout_dirty_ = false;
  const QString line = Line();
  layout_.setText(line);
  layout_.setFont(font());
  layout_.setCacheEnabled(true);  // keeps the shaped glyphs between paints
  layout_.beginLayout();
  QTextLine text_line = layout_.createLine();
  if (text_line.isValid()) text_line.setNumColumns(static_cast<int>(line.size()));
  layout_.endLayout();
  // The width as the font metrics give it, taken from the layout: the text is shaped once.
  text_width_ = text_line.isValid() ? qRound(text_line.horizontalAdvance()) : 0;
}

void TMarqueeLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) layout_dirty_ = true;
  QWidget::changeEvent(event);
}

int TMarqueeLabel::TextX() const {
  const int w = TextWidth() + std::abs(shadow_.OffsetLeft);
  const double f = static_cast<double>(position_) / steps_;
  // Halves round to even.
  int x = direction_ == TMarqueeDirection::mlRightToLeft
              ? static_cast<int>(std::nearbyint((1 - f) * (width() + w))) - w
              : static_cast<int>(std::nearbyint(f * (width() + w))) - w;
  if (shadow_.Visible && shadow_.OffsetLeft < 0) x -= shadow_.OffsetLeft;
  return x;
}

void TMarqueeLabel::paintEvent(QPaintEvent*) {
  QPixmap buffer(size());
  buffer.fill(color_);
  // Before the first step the text stands beyond the label's edge: nothing to shape or draw yet,
  // which keeps the shaping of a long maxims text out of the window's first paint.
  if (position_ > 0) {
    EnsureLayout();
    QPainter p(&buffer);
    p.setFont(font());
    QFontMetrics metrics(font());
    const int h = metrics.height();
    int y = 0;
    if (h < height()) y = (height() - h - (shadow_.Visible ? shadow_.OffsetTop : 0)) / 2;
    const int x = TextX();
    // The layout is placed by its top; the baseline stays where the font's ascent puts it.
    const qreal top = y + metrics.ascent() -
                      (layout_.lineCount() > 0 ? layout_.lineAt(0).ascent() : metrics.ascent());
    if (shadow_.Visible) {
      p.setPen(shadow_.Color);
      layout_.draw(&p, QPointF(x + shadow_.OffsetLeft, top + shadow_.OffsetTop));
    }
    p.setPen(font_color_);
    layout_.draw(&p, QPointF(x, top));
  }
  QPainter(this).drawPixmap(0, 0, buffer);
}

void TMarqueeLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
      OnClick) {
    OnClick();
  }
}

}  // namespace widgets
