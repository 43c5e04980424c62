// "t Differenz": how many frames the last chosen lap needed more or less than the first to
// reach each distance of the first lap.
#include <cmath>
#include <cstdlib>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/PlotKernel.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr int kCentreRow = 362;
constexpr Rgb kDifferenceZeroLine{170, 170, 170};

// Finds, for samples of lap A taken in order, the first sample of lap B that reaches each
// one's distance. While A's distance grows the match can only move forward, since every
// sample before the last match was short of the last distance already; where A's distance
// falls back the search starts again from the beginning.
template <typename Rows>
class MatchFinder {
 public:
  MatchFinder(const Rows& rowsB, int searchStart, int endB)
      : rows_(rowsB), start_(searchStart), end_(endB), cursor_(searchStart) {}

  int match(std::int32_t distance) {
    if (distance < lastDistance_) cursor_ = start_;
    lastDistance_ = distance;
    while (cursor_ < end_ && rows_.distance(cursor_) < distance) ++cursor_;
    return cursor_;
  }

 private:
  const Rows& rows_;
  int start_;
  int end_;
  int cursor_;
  std::int32_t lastDistance_ = INT32_MIN;
};

struct LapPair {
  LapRange a;
  LapRange b;
};

LapPair comparedLaps(const GraphContext& c) {
  int last = c.stores.selectedCount > 0 ? c.stores.selectedCount - 1 : 0;
  return {lapInSlot(c, 0), lapInSlot(c, last)};
}

// Frames lap B needed more (positive) than lap A up to sample a of A.
template <typename RowsA, typename RowsB>
double frameDifference(const RowsA& rowsA, const RowsB& rowsB, const LapPair& laps, int a, int b) {
  double step = static_cast<double>(rowsB.distance(b)) - rowsB.distance(b - 1);
  double fraction =
      step != 0.0 ? (static_cast<double>(rowsB.distance(b)) - rowsA.distance(a)) / step : 0.0;
  return static_cast<double>((b - laps.b.first) - (a - laps.a.first)) - fraction;
}

template <typename RowsA, typename RowsB>
double verticalScale(const RowsA& rowsA, const RowsB& rowsB, const LapPair& laps) {
  MatchFinder<RowsB> finder(rowsB, laps.b.first, laps.b.end);
  std::int64_t largest = 0;
  for (int a = laps.a.first; a < laps.a.end; ++a) {
    int b = finder.match(rowsA.distance(a));
    std::int64_t magnitude = std::llabs(
        static_cast<std::int64_t>(truncToInt(frameDifference(rowsA, rowsB, laps, a, b))));
    if (magnitude > largest) largest = magnitude;
  }
  return largest == 0 ? 1.0 : 714.0 / (2.0 * static_cast<double>(largest));
}

template <typename RowsA, typename RowsB>
void drawDifference(GraphContext& c, const RowsA& rowsA, const RowsB& rowsB, const LapPair& laps) {
  double scale = verticalScale(rowsA, rowsB, laps);
  takeAxisSpan(c);
  int a0 = laps.a.first;
  while (a0 < laps.a.end && rowsA.distance(a0) <= c.view.scrollOffset) ++a0;
  if (a0 >= laps.a.end) return;
  int searchStart = laps.b.first;
  while (searchStart < laps.b.end && rowsB.distance(searchStart) <= c.view.scrollOffset)
    ++searchStart;
  MatchFinder<RowsB> finder(rowsB, searchStart, laps.b.end);
  PenScope pen(c.canvas, kBlack);
  PolylineBatch curve(c.canvas);
  for (int a = a0; a < laps.a.end; ++a) {
    float xf = c.view.xSpan != 0.0f
                   ? static_cast<float>(rowsA.distance(a) - c.view.scrollOffset) / c.view.xSpan *
                         kPlotWidth * static_cast<float>(c.view.zoomFactor)
                   : 0.0f;
    if (xf > kPlotWidth) break;
    int b = finder.match(rowsA.distance(a));
    int y = truncToIntBranchless(kCentreRow - frameDifference(rowsA, rowsB, laps, a, b) * scale);
    int x = truncFloatToInt(xf);
    // The first point only moves, before the batch holds any line.
    if (a == a0) {
      c.canvas.moveTo(x, y);
    } else {
      curve.add({x, y});
    }
  }
}

void plotTimeDifference(GraphContext& c) {
  {
    PenScope pen(c.canvas, kDifferenceZeroLine);
    c.canvas.moveTo(0, kCentreRow);
    c.canvas.lineTo(1790, kCentreRow);
  }
  if (c.stores.selectedCount == 0) return;
  LapPair laps = comparedLaps(c);
  // The rows read: a of lap A, and b - 1 and b of lap B for b from its first to its end
  // (within the reach of a rule past the rows given).
  const int endA = laps.a.end > laps.a.first ? laps.a.end : laps.a.first;
  const int endB = laps.b.end > laps.b.first ? laps.b.end : laps.b.first;
  withRows(c.stores, laps.a.first, endA, [&](const auto& rowsA) {
    withRows(c.stores, laps.b.first, endB,
             [&](const auto& rowsB) { drawDifference(c, rowsA, rowsB, laps); });
  });
}

// Laps of different frame rates cannot be compared frame by frame: the press is ignored.
bool sameFrameRate(const GraphContext& c) {
  if (c.stores.selectedCount == 0) return true;
  LapPair laps = comparedLaps(c);
  return c.stores.lapFps[static_cast<std::size_t>(laps.a.lap)] ==
         c.stores.lapFps[static_cast<std::size_t>(laps.b.lap)];
}

}  // namespace

void registerTimeDifference(ChannelCommands& commands) {
  ChannelCommand command;
  command.plot = &plotTimeDifference;
  command.acceptsPress = &sameFrameRate;
  command.cursorBottom = 1030;
  commands.set(ChannelId::kTimeDifference, command);
}

}  // namespace lv
