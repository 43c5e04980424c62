#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lv {

class SampleCurve;
class BarRows;

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kDialogBackground{220, 220, 220};

struct CanvasPoint {
  int x = 0, y = 0;
};

// A line down (or up) one pixel column: from (x, from) to (x, to), the end left out.
struct ColumnStroke {
  int x = 0, from = 0, to = 0;
};

// The client area of the main dialog as a drawing surface: solid 1-px pens, lines from the
// current point (the end point itself is not set, as on the original line primitive),
// rectangle outlines, ellipses and text, in absolute client pixels.
class Canvas {
 public:
  virtual ~Canvas() = default;

  // Invalidate with erase and update at once: the background and the controls are painted
  // again and every curve is gone.
  virtual void eraseAll() = 0;
  virtual void moveTo(int x, int y) = 0;
  virtual void lineTo(int x, int y) = 0;
  // Lines from the current point through every point in turn, exactly as lineTo for each;
  // the current point ends at the last one. Curves of many points come this way, so that a
  // canvas can draw them without a call per point.
  virtual void polylineTo(std::span<const CanvasPoint> points) {
    for (const CanvasPoint& p : points) lineTo(p.x, p.y);
  }
  // Exactly as moveTo(x, from) and lineTo(x, to) for each stroke in turn.
  virtual void columnStrokes(std::span<const ColumnStroke> strokes) {
    for (const ColumnStroke& s : strokes) {
      moveTo(s.x, s.from);
      lineTo(s.x, s.to);
    }
  }
  // A curve over the samples of a drive or a lap, from its start point (which becomes the
  // current point) through every point; exactly as moveTo and lineTo for each. The current
  // point ends at the last point.
  virtual void curveTo(const SampleCurve& curve);
  // Rows of bars, one bar per sample and row; exactly as moveTo and lineTo for each bar.
  virtual void barRows(const BarRows& bars);
  // A one-pixel rectangle outline whose edges are all `colour`; it does not change the pen.
  virtual void rectangleOutline(int x, int y, int width, int height, Rgb colour) = 0;
  // Outline in the current pen, filled with `fill`.
  virtual void ellipse(int left, int top, int right, int bottom, Rgb fill) = 0;
  // Black text on an opaque white background, top-left at (x, y); UTF-8.
  virtual void text(int x, int y, std::string_view utf8) = 0;

  void selectPen(Rgb colour) {
    pen_ = colour;
    penSelected(colour);
  }
  Rgb pen() const { return pen_; }

 protected:
  virtual void penSelected(Rgb colour) = 0;

 private:
  Rgb pen_ = kBlack;
};

// Selects a pen for one curve and puts the previous one back afterwards.
class PenScope {
 public:
  PenScope(Canvas& canvas, Rgb colour) : canvas_(canvas), previous_(canvas.pen()) {
    canvas_.selectPen(colour);
  }
  ~PenScope() { canvas_.selectPen(previous_); }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  Canvas& canvas_;
  Rgb previous_;
};

}  // namespace lv
