// TMarqueeLabel: a one-line label whose text travels once across it in a given number of
// timer steps. It paints into an off-screen buffer that is copied in one step, so the moving
// text never flickers.
#pragma once

#include <QColor>
#include <QTextLayout>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace widgets {

enum class TMarqueeDirection { mlRightToLeft = 0, mlLeftToRight = 1 };

struct TMarqueeShadow {
  QColor Color{0xFF, 0xFF, 0x80};
  int OffsetLeft = 1;
  int OffsetTop = 1;
  bool Visible = false;
  bool operator==(const TMarqueeShadow&) const = default;
};

class TMarqueeLabel : public QWidget {
  Q_OBJECT

 public:
  explicit TMarqueeLabel(QWidget* parent = nullptr);

  int Speed() const { return speed_; }
  void SetSpeed(int ms);  // 1..1000
  int Steps() const { return steps_; }
  void SetSteps(int steps);  // at least 1
  TMarqueeDirection Direction() const { return direction_; }
  void SetDirection(TMarqueeDirection direction);
  const TMarqueeShadow& Shadow() const { return shadow_; }
  void SetShadow(const TMarqueeShadow& shadow);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& text);
  QColor Color() const { return color_; }
  void SetColor(const QColor& colour);
  QColor FontColor() const { return font_color_; }
  void SetFontColor(const QColor& colour);
  int Position() const { return position_; }
  bool Running() const { return timer_.isActive(); }

  void Start(int position);
  // One timer step (public so that a pass can be driven without waiting).
  void Step();

  // The left edge of the text at the current position.
  int TextX() const;

  std::function<void()> OnBegin, OnStep, OnEnd;
  std::function<void()> OnClick;

 protected:
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  static constexpr int kShortestTick = 16;
  int TimerInterval() const;
  QString Line() const;
  int TextWidth() const {
    EnsureLayout();
    return text_width_;
  }
  // Shapes the line once for the caption and font (a change marks it stale), when it is first
  // needed: a step then only moves it, and a long maxim does not cost a layout at every tick.
  void EnsureLayout() const;

  int speed_ = 100;
  int steps_ = 50;
  TMarqueeDirection direction_ = TMarqueeDirection::mlRightToLeft;
  TMarqueeShadow shadow_;
  QString caption_;
  QColor color_;
  QColor font_color_{Qt::black};
  int position_ = 0;
  QTimer timer_;
  mutable QTextLayout layout_;
  mutable int text_width_ = 0;
  mutable bool layout_dirty_ = true;
};

}  // namespace widgets
