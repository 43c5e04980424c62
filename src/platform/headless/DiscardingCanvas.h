#pragma once

#include "viewer/graphs/Canvas.h"

namespace lv {

// A canvas that draws nothing: the drawing of a session whose draw events are not wanted
// and whose picture is not kept.
class DiscardingCanvas : public Canvas {
 public:
  void eraseAll() override {}
  void moveTo(int, int) override {}
  void lineTo(int, int) override {}
  void polylineTo(std::span<const CanvasPoint>) override {}
  void columnStrokes(std::span<const ColumnStroke>) override {}
  void curveTo(const SampleCurve&) override {}
  void barRows(const BarRows&) override {}
  void rectangleOutline(int, int, int, int, Rgb) override {}
  void ellipse(int, int, int, int, Rgb) override {}
  void text(int, int, std::string_view) override {}

 protected:
  void penSelected(Rgb) override {}
};

}  // namespace lv
