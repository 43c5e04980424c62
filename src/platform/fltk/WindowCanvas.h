#pragma once

#include <functional>

#include "platform/cairo/RasterCanvas.h"

namespace lv {

// The window's client area as the dialog draws into it: every call goes to the raster, which
// the window shows, and tells the window that the picture changed. Now and then (every few
// thousand calls) it also asks whether to show the picture before the handler ends, so long
// handlers such as a load show their progress.
class WindowCanvas : public Canvas {
 public:
  WindowCanvas(RasterCanvas& raster, std::function<void()> changed,
               std::function<void()> showProgress)
      : raster_(raster), changed_(std::move(changed)), showProgress_(std::move(showProgress)) {}

  void eraseAll() override {
    raster_.eraseAll();
    touched();
  }
  void moveTo(int x, int y) override { raster_.moveTo(x, y); }
  void lineTo(int x, int y) override {
    raster_.lineTo(x, y);
    touched();
  }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    raster_.rectangleOutline(x, y, width, height, colour);
    touched();
  }
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override {
    raster_.ellipse(left, top, right, bottom, fill);
    touched();
  }
  void text(int x, int y, std::string_view utf8) override {
    raster_.text(x, y, utf8);
    touched();
  }

  // The window has shown the picture as it is now.
  void shown() { dirty_ = false; }

 protected:
  void penSelected(Rgb colour) override { raster_.selectPen(colour); }

 private:
  void touched() {
    if (!dirty_) {
      dirty_ = true;
      changed_();
    }
    if (++calls_ % kProgressEvery == 0) showProgress_();
  }

 private:
  static constexpr unsigned kProgressEvery = 4096;
  RasterCanvas& raster_;
  std::function<void()> changed_;
  std::function<void()> showProgress_;
  bool dirty_ = false;
  unsigned calls_ = 0;
};

}  // namespace lv
