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
    touch(0, 0, RasterCanvas::kWidth, RasterCanvas::kHeight);
  }
  void moveTo(int x, int y) override {
    raster_.moveTo(x, y);
    fromX_ = x;
    fromY_ = y;
  }
  void lineTo(int x, int y) override {
    raster_.lineTo(x, y);
    touch(std::min(fromX_, x), std::min(fromY_, y), std::max(fromX_, x) + 1,
          std::max(fromY_, y) + 1);
    fromX_ = x;
    fromY_ = y;
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
    left_ = std::max(std::min(left_, left), 0);
    top_ = std::max(std::min(top_, top), 0);
    right_ = std::min(std::max(right_, right), RasterCanvas::kWidth);
    bottom_ = std::min(std::max(bottom_, bottom), RasterCanvas::kHeight);
    if (++calls_ % kProgressEvery == 0) showProgress_();
  }

  RasterCanvas& raster_;
  std::function<void()> showProgress_;
  int fromX_ = 0, fromY_ = 0;
  int left_ = kNone, top_ = kNone, right_ = -kNone, bottom_ = -kNone;
  unsigned calls_ = 0;
};

}  // namespace lv
