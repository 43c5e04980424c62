#pragma once

#include "viewer/graphs/Canvas.h"

namespace lv {

// Sends every drawing call to two canvases: the event trace and a picture.
class CanvasTee : public Canvas {
 public:
  CanvasTee(Canvas& first, Canvas& second) : first_(first), second_(second) {}

  void eraseAll() override {
    first_.eraseAll();
    second_.eraseAll();
  }
  void moveTo(int x, int y) override {
    first_.moveTo(x, y);
    second_.moveTo(x, y);
  }
  void lineTo(int x, int y) override {
    first_.lineTo(x, y);
    second_.lineTo(x, y);
  }
  void polylineTo(std::span<const CanvasPoint> points) override {
    first_.polylineTo(points);
    second_.polylineTo(points);
  }
  void columnStrokes(std::span<const ColumnStroke> strokes) override {
    first_.columnStrokes(strokes);
    second_.columnStrokes(strokes);
  }
  void curveTo(const SampleCurve& curve) override {
    first_.curveTo(curve);
    second_.curveTo(curve);
  }
  void barRows(const BarRows& bars) override {
    first_.barRows(bars);
    second_.barRows(bars);
  }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    first_.rectangleOutline(x, y, width, height, colour);
    second_.rectangleOutline(x, y, width, height, colour);
  }
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override {
    first_.ellipse(left, top, right, bottom, fill);
    second_.ellipse(left, top, right, bottom, fill);
  }
  void text(int x, int y, std::string_view utf8) override {
    first_.text(x, y, utf8);
    second_.text(x, y, utf8);
  }

 protected:
  void penSelected(Rgb colour) override {
    first_.selectPen(colour);
    second_.selectPen(colour);
  }

 private:
  Canvas& first_;
  Canvas& second_;
};

}  // namespace lv
