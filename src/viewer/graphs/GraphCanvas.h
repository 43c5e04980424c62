#pragma once

#include <cstdint>
#include <limits>

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphContext.h"
#include "viewer/graphs/LapColours.h"
#include "viewer/graphs/RedrawCache.h"
#include "viewer/load/Truncate.h"

namespace lv {

// Rows of a sample, never outside the store: a rule that looks before the first row or
// past the capacity reads the nearest row inside.
bool multiLapMode(const GraphContext& c);

inline const FrameRecord& frameAt(const GraphContext& c, int k) {
  return c.stores.frameTable[static_cast<std::size_t>(clampRow(k))];
}
inline const TelemetryRecord& telemetryAt(const GraphContext& c, int k) {
  return c.stores.telemetryTable[static_cast<std::size_t>(clampRow(k))];
}
inline std::int32_t distanceAt(const GraphContext& c, int k) {
  return frameAt(c, k).f[FrameRecord::kDistance];
}

// The samples of one chosen lap.
struct LapRange {
  int lap;
  int first;
  int end;
};
LapRange lapInSlot(const GraphContext& c, int slot);

// x pixel of sample k of the lap in `slot`: by sample count with one lap chosen, by distance
// with two or more. The quotient is single precision, as the axis state is.
int xOf(const GraphContext& c, int k, int slot);

// The samples the plots take at a time: x, rows and points of a block each in one loop.
inline constexpr int kPointBlock = 256;
// The last x a curve draws: the plot width as an int.
inline constexpr int kPlotRight = 1817;

// The x mapping of xOf for the lap in one slot, worked out once for all the points of a
// curve: a redraw maps every sample of four laps for every channel.
class LapAxis {
 public:
  LapAxis(const GraphContext& c, int slot)
      : c_(c),
        byDistance_(multiLapMode(c)),
        first_(lapInSlot(c, slot).first),
        count_(lapInSlot(c, slot).end - first_),
        offset_(c.view.scrollOffset),
        zoom_(static_cast<float>(c.view.zoomFactor)) {}

  int x(int k) const {
    float quotient;
    if (byDistance_) {
      if (c_.view.xSpan == 0.0f) return 0;
      quotient = static_cast<float>(distanceAt(c_, k) - offset_) / c_.view.xSpan;
    } else {
      if (count_ == 0) return 0;
      quotient = static_cast<float>(k - first_ - offset_) / static_cast<float>(count_);
    }
    return truncToInt(quotient * kPlotWidth * zoom_);
  }

  // x of the n samples from `from` on, each exactly x(k).
  void fill(int from, int n, int* xs) const;
  // The same x values for n samples (at most kPointBlock): from the axis cache of a redraw
  // cycle, or worked out into `buffer`; `visibleCount` is how many of them come before the
  // first beyond the plot's right edge.
  const int* block(int from, int n, int* buffer, int& visibleCount) const;
  // How many of the n x values come before the first one beyond the plot's right edge.
  // (An int is beyond the float edge 1817 exactly when it is beyond the int 1817.)
  static int visible(const int* xs, int n) {
    int largest = std::numeric_limits<int>::min();
    for (int i = 0; i < n; ++i) largest = xs[i] > largest ? xs[i] : largest;
    if (largest <= kPlotRight) return n;
    for (int i = 0; i < n; ++i)
      if (xs[i] > kPlotRight) return i;
    return n;
  }

 private:
  // x by distance, from the distances of the samples (`stride` values apart).
  void fillByDistance(const std::int32_t* distances, std::size_t stride, int n, int* xs) const;
  // The x of the whole lap from a redraw cycle's cache, or null outside a cycle.
  const RedrawCache::Axis* cachedAxis() const;

  const GraphContext& c_;
  bool byDistance_;
  int first_;
  int count_;
  int offset_;
  float zoom_;
};
// The distance mapping, used whatever the number of chosen laps.
int xOfDistance(const GraphContext& c, int k);

// The toggle of a channel button: odd counter shows (draws on top), even hides (erases,
// redraws the shown channels and draws the cursor line).
void pressChannel(GraphContext& c, const ChannelCommands& commands, ChannelId id);
// Erases the picture and draws every shown channel again, in the redraw order.
void redrawShown(GraphContext& c, const ChannelCommands& commands);
// Draws every shown channel again on top of the picture as it is.
void redrawShownChannels(GraphContext& c, const ChannelCommands& commands);

void drawCursorLine(GraphContext& c, int bottom);
void drawZeroLine(GraphContext& c, int x0, int y0, int x1, int y1);
// Frames around the tyre boxes and bars under the lap names, in the slot colours.
void drawLapColourMarks(GraphContext& c, int variant);

// Sets the x axis length from the longest lap distance, as every plot does before its laps.
void takeAxisSpan(GraphContext& c);

// First point of a lap's curve: single-lap mode takes the sample at the scroll offset;
// multi-lap mode the first sample before `end` further along than the offset (-1: none).
int firstPoint(const GraphContext& c, int first, int end);

int rowOf(double baseline, double scale, double value);

}  // namespace lv
