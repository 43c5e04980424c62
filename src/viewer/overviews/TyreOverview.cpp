#include "viewer/overviews/TyreOverview.h"

#include <vector>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr Rgb kReferencePen{40, 40, 40};

struct Rows {
  double a, b;
  int rowA, rowB;
};

Rows rowsFor(const GraphContext& c) {
  if (c.stores.contactPatchMode != 0) return {8.0, 10.0, 724 - 400, 724};
  return {23.0, 20.0, 724 - 140, 724 + 130};
}

// x pixel of every sample of the drive, computed once for all the traces.
std::vector<int> sampleColumns(const GraphContext& c) {
  std::vector<int> columns;
  for (int i = 0; i + 1 < c.view.xSpan; ++i)
    columns.push_back(truncToInt(static_cast<float>(i) / c.view.xSpan * kPlotWidth));
  return columns;
}

void drawWheelGroup(GraphContext& c, const std::vector<int>& xs, int wheel, const Rows& rows,
                    int s0) {
  PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
  int g = 12 + 3 * wheel;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    std::int32_t word = frameAt(c, static_cast<int>(i)).f[FrameRecord::kStatusWord];
    for (int row = 0; row < 2; ++row) {
      int top = kStatusRows[wheel][row];
      c.canvas.moveTo(xs[i], top);
      c.canvas.lineTo(xs[i], top + 2 * statusField(word, kStatusBits[wheel][row]));
    }
  }
  auto across = [&](int k) {
    const TelemetryRecord& t = telemetryAt(c, k);
    return truncToInt(rows.rowA - (t.f[g + 2] - t.f[g]) * rows.a);
  };
  auto centre = [&](int k) {
    const TelemetryRecord& t = telemetryAt(c, k);
    return truncToInt(rows.rowB - (t.f[g + 1] - (t.f[g] + t.f[g + 2]) / 2.0) * rows.b);
  };
  c.canvas.moveTo(0, across(s0));
  for (std::size_t i = 0; i < xs.size(); ++i) c.canvas.lineTo(xs[i], across(static_cast<int>(i)));
  c.canvas.moveTo(0, centre(s0));
  for (std::size_t i = 0; i < xs.size(); ++i) c.canvas.lineTo(xs[i], centre(static_cast<int>(i)));
}

void drawMeanTemperature(GraphContext& c, const std::vector<int>& xs, int wheel) {
  struct Box {
    int x, y, width, height;
  };
  static constexpr Box kBoxes[4][2] = {{{1828, 486, 33, 62}, {1829, 440, 30, 22}},
                                       {{1862, 486, 35, 63}, {1863, 441, 30, 21}},
                                       {{1828, 564, 33, 62}, {1829, 462, 30, 20}},
                                       {{1862, 564, 35, 62}, {1863, 462, 30, 20}}};
  Rgb colour = kWheelColours[static_cast<std::size_t>(wheel)];
  PenScope pen(c.canvas, colour);
  for (const Box& box : kBoxes[wheel])
    c.canvas.rectangleOutline(box.x, box.y, box.width, box.height, colour);
  double factor = c.stores.contactPatchMode % 2 != 0 ? 2.8 : 4.0;
  auto row = [&](int i) {
    return truncToInt(
        747 - factor * c.stores.tyreTempAvg[static_cast<std::size_t>(clampRow(i))].w[wheel]);
  };
  c.canvas.moveTo(0, row(0));
  for (std::size_t i = 0; i < xs.size(); ++i) c.canvas.lineTo(xs[i], row(static_cast<int>(i)));
}

void drawDamageBars(GraphContext& c, const std::vector<int>& xs) {
  for (std::size_t i = 0; i < xs.size(); ++i) {
    std::int64_t word = frameAt(c, static_cast<int>(i)).f[FrameRecord::kStatusWord];
    int d = static_cast<int>(word % (std::int64_t{1} << 31) / (std::int64_t{1} << 24));
    c.canvas.moveTo(xs[i], 57);
    c.canvas.lineTo(xs[i], 57 + d);
  }
}

}  // namespace

void drawTyreOverview(GraphContext& c, int samples) {
  c.canvas.eraseAll();
  Rows rows = rowsFor(c);
  {
    PenScope reference(c.canvas, kReferencePen);
    c.canvas.text(5, 100, "OVERALL VIEW ABOUT DEVELOPMENT OF TYRE TEMPS");
    c.canvas.text(5, 116, "To display values please right-click on the window!");
    c.canvas.moveTo(0, rows.rowA);
    c.canvas.lineTo(1817, rows.rowA);
    c.canvas.moveTo(0, rows.rowB);
    c.canvas.lineTo(1817, rows.rowB);
  }
  c.view.xSpan = static_cast<float>(samples);
  int s0 = lapInSlot(c, 0).first;
  std::vector<int> xs = sampleColumns(c);
  for (int wheel = 0; wheel < 4; ++wheel) drawWheelGroup(c, xs, wheel, rows, s0);
  for (int wheel = 0; wheel < 4; ++wheel) drawMeanTemperature(c, xs, wheel);
  drawDamageBars(c, xs);
}

}  // namespace lv
