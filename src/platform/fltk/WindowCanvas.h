#pragma once

#include <algorithm>
#include <functional>

#include "platform/cairo/RasterCanvas.h"
#include "platform/fltk/RasterBlit.h"

namespace lv {

// The window's client area as the dialog draws into it: every call goes to the raster, which
// the window shows, and widens the rectangle the window has to show again. Every few thousand
// calls it offers to show the picture before the handler ends, so long handlers such as a load
// show their progress.
class WindowCanvas : public Canvas {
 public:
  WindowCanvas(RasterCanvas& raster, std::function<void()> showProgress)
      : raster_(raster), showProgress_(std::move(showProgress)) {}

  void eraseAll() override {
    raster_.eraseAll();
    touchAll();
  }
  void moveTo(int x, int y) override {
    raster_.moveTo(x, y);
    fromX_ = x;
    fromY_ = y;
  }
  void lineTo(int x, int y) override {
    raster_.lineTo(x, y);
    touchLine(fromX_, fromY_, x, y);
    countCall();
    fromX_ = x;
    fromY_ = y;
  }
  void polylineTo(std::span<const CanvasPoint> points) override {
    raster_.polylineTo(points);
    for (const CanvasPoint& p : points) {
      touchLine(fromX_, fromY_, p.x, p.y);
      fromX_ = p.x;
      fromY_ = p.y;
    }
    countCall();
  }
  void columnStrokes(std::span<const ColumnStroke> strokes) override {
    raster_.columnStrokes(strokes);
    for (const ColumnStroke& s : strokes) touchLine(s.x, s.from, s.x, s.to);
    if (!strokes.empty()) {
      fromX_ = strokes.back().x;
      fromY_ = strokes.back().to;
    }
    countCall();
  }
  // A whole curve or row of bars spans the drive: the window shows the client area again.
  void curveTo(const SampleCurve& curve) override {
    raster_.curveTo(curve);
    CanvasPoint end = lastPoint(curve);
    fromX_ = end.x;
    fromY_ = end.y;
    touchAll();
  }
  void barRows(const BarRows& bars) override {
    raster_.barRows(bars);
    if (bars.size() > 0 && bars.rowCount() > 0) {
      ColumnStroke last = lastStroke(bars);
      fromX_ = last.x;
      fromY_ = last.to;
    }
    touchAll();
  }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    raster_.rectangleOutline(x, y, width, height, colour);
    touch(x, y, x + width, y + height);
  }
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override {
    raster_.ellipse(left, top, right, bottom, fill);
    touch(left, top, right + 1, bottom + 1);
  }
  void text(int x, int y, std::string_view utf8) override {
    raster_.text(x, y, utf8);
    // Wider and taller than any glyph of the raster's 13-pixel font can reach.
    touch(x - 2, y - 2, x + 14 * static_cast<int>(utf8.size()) + 8, y + 24);
  }

  // The part of the raster drawn since the last call; empty when nothing was drawn.
  BlitRect takeChanged() {
    BlitRect changed{0, 0, 0, 0};
    if (right_ > left_ && bottom_ > top_) {
      changed = {left_, top_, right_ - left_, bottom_ - top_};
    }
    left_ = top_ = kNone;
    right_ = bottom_ = -kNone;
    return changed;
  }

 protected:
  void penSelected(Rgb colour) override { raster_.selectPen(colour); }

 private:
  static constexpr int kNone = 1 << 30;
  static constexpr unsigned kProgressEvery = 4096;

  void touch(int left, int top, int right, int bottom) {
    widen(left, top, right, bottom);
    countCall();
  }
  void touchAll() { touch(0, 0, RasterCanvas::kWidth, RasterCanvas::kHeight); }
  void touchLine(int x0, int y0, int x1, int y1) {
    widen(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1);
  }
  void widen(int left, int top, int right, int bottom) {
    left_ = std::max(std::min(left_, left), 0);
    top_ = std::max(std::min(top_, top), 0);
    right_ = std::min(std::max(right_, right), RasterCanvas::kWidth);
    bottom_ = std::min(std::max(bottom_, bottom), RasterCanvas::kHeight);
  }
  void countCall() {
    if (++calls_ % kProgressEvery == 0) showProgress_();
  }

  RasterCanvas& raster_;
  std::function<void()> showProgress_;
  int fromX_ = 0, fromY_ = 0;
  int left_ = kNone, top_ = kNone, right_ = -kNone, bottom_ = -kNone;
  unsigned calls_ = 0;
};

}  // namespace lv
