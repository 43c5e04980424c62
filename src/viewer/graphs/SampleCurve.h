#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "viewer/graphs/Canvas.h"

namespace lv {

// Consecutive points of a curve that lie in one pixel column, summarised: a drive of half a
// million samples puts hundreds of points into every column of a picture, and a canvas that
// sets pixels needs only the extremes of each column to set the same pixels the lines would.
struct CurveRun {
  int x = 0;
  std::size_t first = 0;  // the run's first point
  std::size_t count = 0;
  int firstY = 0;
  int lastY = 0;
  // Smallest and largest y of the run's points; the first run also counts the curve's start
  // point when that lies in the same column, as the lines from it stay in the column.
  int lowest = 0;
  int highest = 0;
};

// A curve from a start point through one point per sample: moveTo(start), then lineTo for each
// point. Canvases that draw events take the points; canvases that set pixels may take the
// column runs, which cover every point in order, each run in a column of its own.
class SampleCurve {
 public:
  virtual ~SampleCurve() = default;

  virtual CanvasPoint start() const = 0;
  virtual std::size_t size() const = 0;
  // Points first .. first + out.size() - 1.
  virtual void points(std::size_t first, std::span<CanvasPoint> out) const = 0;
  // Empty when the curve was not summarised.
  virtual std::span<const CurveRun> runs() const { return {}; }
};

// The samples of one pixel column of a row set of bars, with the extremes of their heights.
struct BarColumn {
  static constexpr int kMaxRows = 2;

  int x = 0;
  std::size_t first = 0;  // the column's first sample
  std::size_t count = 0;
  std::array<int, kMaxRows> lowest{};  // smallest and largest bar height per row
  std::array<int, kMaxRows> highest{};
};

// Rows of bars over consecutive samples: bar `row` of sample i goes from (x_i, base(row)) to
// (x_i, base(row) + height), the end left out, drawn sample by sample and, within a sample,
// row by row, as moveTo and lineTo for each bar.
class BarRows {
 public:
  virtual ~BarRows() = default;

  virtual int rowCount() const = 0;  // 1 .. BarColumn::kMaxRows
  virtual int base(int row) const = 0;
  virtual std::size_t size() const = 0;  // samples
  // The bars of samples first .. first + out.size() / rowCount() - 1, sample by sample.
  virtual void strokes(std::size_t first, std::span<ColumnStroke> out) const = 0;
  // Empty when the bars were not summarised.
  virtual std::span<const BarColumn> columns() const { return {}; }
};

// The column runs of a curve whose points are at hand.
std::vector<CurveRun> curveRunsOf(std::span<const CanvasPoint> points);

// Where a curve ends (its start when it has no points), and the last bar of bars that have
// at least one sample and one row.
CanvasPoint lastPoint(const SampleCurve& curve);
ColumnStroke lastStroke(const BarRows& bars);

// The curve as moveTo and polylineTo, the bars as columnStrokes, in blocks: what a canvas
// without a pixel shortcut does.
void drawCurvePoints(Canvas& canvas, const SampleCurve& curve);
void drawBarStrokes(Canvas& canvas, const BarRows& bars);

}  // namespace lv
