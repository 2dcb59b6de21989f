// TGradBox: a panel that fills itself with a two-colour gradient and draws its caption on top,
// plain, with a shadow or extruded. The main window's background and tool bar are two of them.
// Colours are Windows colour values; system colours (top bit set) are resolved at each paint.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

#include "widgets/gradient_table.h"

namespace widgets {

enum class TGradStyle { gsTopBottom, gsBottomTop, gsLeftRight, gsRightLeft, gsNone };
enum class TFontStyle3D { fsLowShadow, fsRaiseShadow, fsLow3D, fsRaise3D };

class TGradBox : public QWidget {
  Q_OBJECT

 public:
  explicit TGradBox(QWidget* parent = nullptr);

  std::uint32_t TopColor() const { return top_color_; }
  void SetTopColor(std::uint32_t colour);
  std::uint32_t LastColor() const { return last_color_; }
  void SetLastColor(std::uint32_t colour);
  TGradStyle GradStyle() const { return grad_style_; }
  void SetGradStyle(TGradStyle style);
  std::uint32_t OutLineColor() const { return outline_color_; }
  void SetOutLineColor(std::uint32_t colour);
  bool DrawOutLine() const { return draw_outline_; }
  void SetDrawOutLine(bool draw);
  int CaptionLeft() const { return caption_left_; }
  void SetCaptionLeft(int left);
  int CaptionTop() const { return caption_top_; }
  void SetCaptionTop(int top);
  bool Font3D() const { return font_3d_; }
  void SetFont3D(bool on);
  TFontStyle3D Style3D() const { return style_3d_; }
  void SetStyle3D(TFontStyle3D style);
  int FontDepth() const { return font_depth_; }
  void SetFontDepth(int depth);
  std::uint32_t BackFont() const { return back_font_; }
  void SetBackFont(std::uint32_t colour);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // The text colour of the caption.
  void SetFontColor(std::uint32_t colour);

  // Called after the panel has painted itself.
  std::function<void(QPainter&)> OnPaint;

  // The table of the last paint (rebuilt at every paint except with gsNone).
  const GradientTable& ColourTable() const { return table_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawCaption(QPainter& painter, const QPoint& offset, const QColor& colour);
  template <typename T>
  bool Change(T& field, T value);

  std::uint32_t top_color_ = 0x008000;
  std::uint32_t last_color_ = 0x00FF00;
  TGradStyle grad_style_ = TGradStyle::gsTopBottom;
  std::uint32_t outline_color_ = 0;
  bool draw_outline_ = false;
  int caption_left_ = 10;
  int caption_top_ = 10;
  bool font_3d_ = false;
  TFontStyle3D style_3d_ = TFontStyle3D::fsRaise3D;
  int font_depth_ = 1;
  std::uint32_t back_font_ = 0x00FFFF;
  std::uint32_t font_color_ = 0;
  QString caption_;
  GradientTable table_{};
};

}  // namespace widgets
