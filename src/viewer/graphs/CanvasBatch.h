#pragma once

#include <array>
#include <cstddef>

#include "viewer/graphs/Canvas.h"

namespace lv {

// Gathers the points of one curve (or the strokes of one row of bars) and hands them to the
// canvas a block at a time: the same drawing as one call per point, without a call per
// point. Nothing else may be drawn on the canvas while a batch is open.
template <typename Item>
class CanvasBatch {
 public:
  explicit CanvasBatch(Canvas& canvas) : canvas_(canvas) {}
  ~CanvasBatch() { flush(); }
  CanvasBatch(const CanvasBatch&) = delete;
  CanvasBatch& operator=(const CanvasBatch&) = delete;

  void add(const Item& item) {
    items_[count_++] = item;
    if (count_ == kBlock) flush();
  }
  void flush() {
    if (count_ == 0) return;
    send({items_.data(), count_});
    count_ = 0;
  }

 private:
  static constexpr std::size_t kBlock = 1024;

  void send(std::span<const CanvasPoint> points) { canvas_.polylineTo(points); }
  void send(std::span<const ColumnStroke> strokes) { canvas_.columnStrokes(strokes); }

  Canvas& canvas_;
  std::array<Item, kBlock> items_;
  std::size_t count_ = 0;
};

using PolylineBatch = CanvasBatch<CanvasPoint>;
using StrokeBatch = CanvasBatch<ColumnStroke>;

}  // namespace lv
