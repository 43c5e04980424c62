// "t Differenz": how many frames the last chosen lap needed more or less than the first to
// reach each distance of the first lap.
#include <cmath>
#include <cstdlib>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr int kCentreRow = 362;
constexpr Rgb kDifferenceZeroLine{170, 170, 170};

// Finds, for samples of lap A taken in order, the first sample of lap B that reaches each
// one's distance. While A's distance grows the match can only move forward, since every
// sample before the last match was short of the last distance already; where A's distance
// falls back the search starts again from the beginning.
class MatchFinder {
 public:
  MatchFinder(const GraphContext& c, int searchStart, int endB)
      : c_(c), start_(searchStart), end_(endB), cursor_(searchStart) {}

  int match(std::int32_t distance) {
    if (distance < lastDistance_) cursor_ = start_;
    lastDistance_ = distance;
    while (cursor_ < end_ && distanceAt(c_, cursor_) < distance) ++cursor_;
    return cursor_;
  }

 private:
  const GraphContext& c_;
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
double frameDifference(const GraphContext& c, const LapPair& laps, int a, int b) {
  double step = static_cast<double>(distanceAt(c, b)) - distanceAt(c, b - 1);
  double fraction =
      step != 0.0 ? (static_cast<double>(distanceAt(c, b)) - distanceAt(c, a)) / step : 0.0;
  return static_cast<double>((b - laps.b.first) - (a - laps.a.first)) - fraction;
}

double verticalScale(const GraphContext& c, const LapPair& laps) {
  MatchFinder finder(c, laps.b.first, laps.b.end);
  std::int64_t largest = 0;
  for (int a = laps.a.first; a < laps.a.end; ++a) {
    int b = finder.match(distanceAt(c, a));
    std::int64_t magnitude =
        std::llabs(static_cast<std::int64_t>(truncToInt(frameDifference(c, laps, a, b))));
    if (magnitude > largest) largest = magnitude;
  }
  return largest == 0 ? 1.0 : 714.0 / (2.0 * static_cast<double>(largest));
}

void plotTimeDifference(GraphContext& c) {
  {
    PenScope pen(c.canvas, kDifferenceZeroLine);
    c.canvas.moveTo(0, kCentreRow);
    c.canvas.lineTo(1790, kCentreRow);
  }
  if (c.stores.selectedCount == 0) return;
  LapPair laps = comparedLaps(c);
  double scale = verticalScale(c, laps);
  takeAxisSpan(c);
  int a0 = laps.a.first;
  while (a0 < laps.a.end && distanceAt(c, a0) <= c.view.scrollOffset) ++a0;
  if (a0 >= laps.a.end) return;
  int searchStart = laps.b.first;
  while (searchStart < laps.b.end && distanceAt(c, searchStart) <= c.view.scrollOffset)
    ++searchStart;
  MatchFinder finder(c, searchStart, laps.b.end);
  PenScope pen(c.canvas, kBlack);
  PolylineBatch curve(c.canvas);
  for (int a = a0; a < laps.a.end; ++a) {
    float xf = c.view.xSpan != 0.0f
                   ? static_cast<float>(distanceAt(c, a) - c.view.scrollOffset) / c.view.xSpan *
                         kPlotWidth * static_cast<float>(c.view.zoomFactor)
                   : 0.0f;
    if (xf > kPlotWidth) break;
    int b = finder.match(distanceAt(c, a));
    int y = truncToInt(kCentreRow - frameDifference(c, laps, a, b) * scale);
    int x = truncToInt(xf);
    // The first point only moves, before the batch holds any line.
    if (a == a0) {
      c.canvas.moveTo(x, y);
    } else {
      curve.add({x, y});
    }
  }
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
