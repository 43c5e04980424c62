#include "viewer/graphs/SampleCurve.h"

#include <algorithm>
#include <vector>

namespace lv {
namespace {

constexpr std::size_t kBlock = 1024;

}  // namespace

std::vector<CurveRun> curveRunsOf(std::span<const CanvasPoint> points) {
  std::vector<CurveRun> runs;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const CanvasPoint& p = points[i];
    if (runs.empty() || runs.back().x != p.x) {
      runs.push_back({p.x, i, 0, p.y, p.y, p.y, p.y});
    }
    CurveRun& run = runs.back();
    ++run.count;
    run.lastY = p.y;
    run.lowest = std::min(run.lowest, p.y);
    run.highest = std::max(run.highest, p.y);
  }
  return runs;
}

CanvasPoint lastPoint(const SampleCurve& curve) {
  if (curve.size() == 0) return curve.start();
  CanvasPoint last;
  curve.points(curve.size() - 1, {&last, 1});
  return last;
}

ColumnStroke lastStroke(const BarRows& bars) {
  std::vector<ColumnStroke> strokes(static_cast<std::size_t>(bars.rowCount()));
  bars.strokes(bars.size() - 1, strokes);
  return strokes.back();
}

void drawCurvePoints(Canvas& canvas, const SampleCurve& curve) {
  CanvasPoint start = curve.start();
  canvas.moveTo(start.x, start.y);
  std::array<CanvasPoint, kBlock> block;
  for (std::size_t first = 0; first < curve.size(); first += kBlock) {
    std::span<CanvasPoint> points(block.data(), std::min(kBlock, curve.size() - first));
    curve.points(first, points);
    canvas.polylineTo(points);
  }
}

void drawBarStrokes(Canvas& canvas, const BarRows& bars) {
  const std::size_t rows = static_cast<std::size_t>(bars.rowCount());
  if (rows == 0) return;
  const std::size_t samplesPerBlock = kBlock / rows;
  std::array<ColumnStroke, kBlock> block;
  for (std::size_t first = 0; first < bars.size(); first += samplesPerBlock) {
    std::size_t samples = std::min(samplesPerBlock, bars.size() - first);
    std::span<ColumnStroke> strokes(block.data(), samples * rows);
    bars.strokes(first, strokes);
    canvas.columnStrokes(strokes);
  }
}

void Canvas::curveTo(const SampleCurve& curve) {
  drawCurvePoints(*this, curve);
}

void Canvas::barRows(const BarRows& bars) {
  drawBarStrokes(*this, bars);
}

}  // namespace lv
