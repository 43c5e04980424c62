// The pixel shortcut for curves and bars that come with their column summaries. In a column
// where every point lies on the buffer, a chain of lines sets every pixel between the lowest
// and the highest of its points, with one exception: the end point of the chain's last line
// is left out. That point is the start of the line into the next column, which sets it, so a
// column followed by another whose first point is on the buffer too is one span; any other
// column (the curve's last, or one touching an edge) is drawn line by line.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/pixels/PixelWriter.h"

namespace lv {
namespace {

constexpr std::size_t kBlock = 1024;

bool runsCover(std::span<const CurveRun> runs, std::size_t points) {
  std::size_t next = 0;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const CurveRun& run = runs[r];
    if (run.first != next || run.count == 0 || run.lowest > run.highest) return false;
    if (r > 0 && runs[r - 1].x == run.x) return false;
    next += run.count;
  }
  return !runs.empty() && next == points;
}

bool columnsCover(std::span<const BarColumn> columns, std::size_t samples) {
  std::size_t next = 0;
  for (const BarColumn& column : columns) {
    if (column.first != next || column.count == 0) return false;
    next += column.count;
  }
  return !columns.empty() && next == samples;
}

}  // namespace

void PixelWriter::curve(const SampleCurve& curve, std::uint32_t colour) {
  std::span<const CurveRun> runs = curve.runs();
  CanvasPoint at = curve.start();
  if (!runsCover(runs, curve.size())) {
    curvePoints(curve, 0, curve.size(), at, colour);
    return;
  }
  for (std::size_t r = 0; r < runs.size(); ++r) {
    const CurveRun& run = runs[r];
    int lowest = run.lowest, highest = run.highest;
    std::size_t first = run.first, count = run.count;
    if (at.x != run.x) {
      line(at.x, at.y, run.x, run.firstY, colour);
      at = {run.x, run.firstY};
      ++first;
      --count;
    } else {
      lowest = std::min(lowest, at.y);
      highest = std::max(highest, at.y);
    }
    bool nextOnBuffer = r + 1 < runs.size() && inside(runs[r + 1].x, runs[r + 1].firstY);
    if (nextOnBuffer && inside(run.x, lowest) && inside(run.x, highest)) {
      addSpan(run.x, lowest, highest, colour);
    } else {
      curvePoints(curve, first, count, at, colour);
    }
    at = {run.x, run.lastY};
  }
}

void PixelWriter::curvePoints(const SampleCurve& curve, std::size_t first, std::size_t count,
                              CanvasPoint from, std::uint32_t colour) {
  std::array<CanvasPoint, kBlock> block;
  while (count > 0) {
    std::span<CanvasPoint> points(block.data(), std::min(kBlock, count));
    curve.points(first, points);
    polyline(from, points, colour);
    from = points.back();
    first += points.size();
    count -= points.size();
  }
}

bool PixelWriter::barsFit(const BarRows& bars, const BarColumn& column) const {
  for (int row = 0; row < bars.rowCount(); ++row) {
    std::int64_t base = bars.base(row);
    std::int64_t low = base + std::min(0, column.lowest[static_cast<std::size_t>(row)]);
    std::int64_t high = base + std::max(0, column.highest[static_cast<std::size_t>(row)]);
    if (column.x < 0 || column.x >= buffer_.width || low < 0 || high >= buffer_.height)
      return false;
  }
  return true;
}

void PixelWriter::barRows(const BarRows& bars, std::uint32_t colour) {
  int rows = bars.rowCount();
  std::span<const BarColumn> columns = bars.columns();
  if (rows < 1 || rows > BarColumn::kMaxRows || !columnsCover(columns, bars.size())) {
    barStrokes(bars, 0, bars.size(), colour);
    return;
  }
  for (const BarColumn& column : columns) {
    if (!barsFit(bars, column)) {
      barStrokes(bars, column.first, column.count, colour);
      continue;
    }
    // Every bar of a row starts at the row's base, so the bars of a row set one span.
    for (int row = 0; row < rows; ++row) {
      int base = bars.base(row);
      int low = column.lowest[static_cast<std::size_t>(row)];
      int high = column.highest[static_cast<std::size_t>(row)];
      if (low >= 0 && high <= 0) continue;
      addSpan(column.x, low < 0 ? base + low + 1 : base, high > 0 ? base + high - 1 : base, colour);
    }
  }
}

void PixelWriter::barStrokes(const BarRows& bars, std::size_t first, std::size_t count,
                             std::uint32_t colour) {
  const std::size_t rows = static_cast<std::size_t>(bars.rowCount());
  if (rows == 0) return;
  const std::size_t samplesPerBlock = kBlock / rows;
  std::array<ColumnStroke, kBlock> block;
  while (count > 0) {
    std::size_t samples = std::min(samplesPerBlock, count);
    std::span<ColumnStroke> strokes(block.data(), samples * rows);
    bars.strokes(first, strokes);
    columnStrokes(strokes, colour);
    first += samples;
    count -= samples;
  }
}

}  // namespace lv
