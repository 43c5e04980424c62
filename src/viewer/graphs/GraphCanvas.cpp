#include "viewer/graphs/GraphCanvas.h"

#include "viewer/graphs/PlotKernel.h"
#include "viewer/graphs/RedrawCache.h"
#include "viewer/load/Truncate.h"

namespace lv {

LapRange lapInSlot(const GraphContext& c, int slot) {
  int lap = c.stores.selectedLaps[static_cast<std::size_t>(slot)];
  if (lap < 0 || lap >= kLapCapacity) lap = 0;
  return {lap, c.stores.lapStart[static_cast<std::size_t>(lap)],
          c.stores.lapStart[static_cast<std::size_t>(lap + 1)]};
}

bool multiLapMode(const GraphContext& c) {
  return c.stores.selectedCount > 1;
}

int xOfDistance(const GraphContext& c, int k) {
  if (c.view.xSpan == 0.0f) return 0;
  float quotient = static_cast<float>(distanceAt(c, k) - c.view.scrollOffset) / c.view.xSpan;
  return truncToInt(quotient * kPlotWidth * static_cast<float>(c.view.zoomFactor));
}

void LapAxis::fill(int from, int n, int* xs) const {
  const float zoom = zoom_;
  if (byDistance_) {
    const float span = c_.view.xSpan;
    if (span == 0.0f) {
      for (int i = 0; i < n; ++i) xs[i] = 0;
      return;
    }
    const int offset = offset_;
    const FrameRecord* frames = c_.stores.frameTable.data();
    if (from >= 0 && std::int64_t{from} + n <= kSampleCapacity) {
      fillByDistance(&frames[from].f[FrameRecord::kDistance],
                     sizeof(FrameRecord) / sizeof(std::int32_t), n, xs);
    } else {
      for (int i = 0; i < n; ++i)
        xs[i] = truncFloatToInt(
            static_cast<float>(frames[clampRow(from + i)].f[FrameRecord::kDistance] - offset) /
            span * kPlotWidth * zoom);
    }
    return;
  }
  if (count_ == 0) {
    for (int i = 0; i < n; ++i) xs[i] = 0;
    return;
  }
  const float count = static_cast<float>(count_);
  const int first = first_;
  const int offset = offset_;
  for (int i = 0; i < n; ++i)
    xs[i] =
        truncFloatToInt(static_cast<float>(from + i - first - offset) / count * kPlotWidth * zoom);
}

void LapAxis::fillByDistance(const std::int32_t* distances, std::size_t stride, int n,
                             int* xs) const {
  const float span = c_.view.xSpan;
  const float zoom = zoom_;
  const int offset = offset_;
  for (int i = 0; i < n; ++i)
    xs[i] = truncFloatToInt(
        static_cast<float>(distances[static_cast<std::size_t>(i) * stride] - offset) / span *
        kPlotWidth * zoom);
}

const RedrawCache::Axis* LapAxis::cachedAxis() const {
  RedrawCache* cache = RedrawCache::active(c_.stores);
  if (cache == nullptr) return nullptr;
  RedrawCache::AxisKey key{byDistance_, first_, count_,
                           offset_,     zoom_,  byDistance_ ? c_.view.xSpan : 0.0f};
  return cache->axis(key, kPlotRight, [this, cache](int f, int count, int* out) {
    // The distances from the lap's columns when the cycle holds them.
    const RedrawCache::Window* w =
        byDistance_ && c_.view.xSpan != 0.0f
            ? cache->windowHolding(f - kRuleReach, f + count + kRuleReach)
            : nullptr;
    if (w != nullptr) {
      fillByDistance(w->frame + (f - w->start), 1, count, out);
    } else {
      fill(f, count, out);
    }
  });
}

const int* LapAxis::block(int from, int n, int* buffer, int& visibleCount) const {
  if (from >= first_ && std::int64_t{from} + n <= std::int64_t{first_} + count_) {
    if (const RedrawCache::Axis* axis = cachedAxis()) {
      const int i = from - first_;
      visibleCount = axis->visibleRun[i] < n ? axis->visibleRun[i] : n;
      return axis->xs + i;
    }
  }
  fill(from, n, buffer);
  visibleCount = visible(buffer, n);
  return buffer;
}

int xOf(const GraphContext& c, int k, int slot) {
  return LapAxis(c, slot).x(k);
}

int rowOf(double baseline, double scale, double value) {
  return truncToInt(baseline - scale * value);
}

void takeAxisSpan(GraphContext& c) {
  c.view.xSpan = static_cast<float>(c.stores.maxFrameDistance);
}

void drawCursorLine(GraphContext& c, int bottom) {
  PenScope pen(c.canvas, kBlack);
  c.canvas.moveTo(c.view.cursorX, 0);
  c.canvas.lineTo(c.view.cursorX, bottom);
}

void drawZeroLine(GraphContext& c, int x0, int y0, int x1, int y1) {
  PenScope pen(c.canvas, kZeroLineColour);
  c.canvas.moveTo(x0, y0);
  c.canvas.lineTo(x1, y1);
}

void pressChannel(GraphContext& c, const ChannelCommands& commands, ChannelId id) {
  const ChannelCommand& command = commands.get(id);
  if (command.acceptsPress != nullptr && !command.acceptsPress(c)) return;
  int& counter = c.view.pressCounter[channelIndex(id)];
  ++counter;
  if (command.drawsAfterCount != nullptr && !command.drawsAfterCount(c)) return;
  if (counter % 2 != 0) {
    if (command.plot != nullptr) command.plot(c);
    return;
  }
  redrawShown(c, commands);
  drawCursorLine(c, command.cursorBottom);
}

void redrawShownChannels(GraphContext& c, const ChannelCommands& commands) {
  // Every channel of the cycle reads the same laps: their rows are taken from the stores once.
  RedrawCacheScope cache(c);
  for (const ChannelInfo& info : kRedrawOrder) {
    int& counter = c.view.pressCounter[channelIndex(info.id)];
    if (counter % 2 == 0) continue;
    ++counter;
    pressChannel(c, commands, info.id);
  }
}

void redrawShown(GraphContext& c, const ChannelCommands& commands) {
  c.canvas.eraseAll();
  redrawShownChannels(c, commands);
}

void drawLapColourMarks(GraphContext& c, int variant) {
  struct Frame {
    int x, y, width, height;
  };
  static constexpr Frame kFrames[3][4] = {
      {{1828, 486, 33, 62}, {1828, 564, 33, 62}, {1862, 486, 35, 63}, {1862, 564, 35, 62}},
      {{1828, 488, 33, 60}, {1828, 564, 33, 60}, {1865, 488, 33, 60}, {1865, 564, 33, 60}},
      {{1828, 488, 33, 60}, {1828, 554, 33, 60}, {1865, 488, 33, 60}, {1865, 554, 33, 60}},
  };
  static constexpr int kBarRows[3][4] = {
      {904, 921, 941, 960}, {904, 921, 941, 960}, {634, 654, 672, 690}};
  int v = variant >= 1 && variant <= 3 ? variant - 1 : 0;
  for (int slot = 0; slot < 4; ++slot) {
    const Frame& f = kFrames[v][slot];
    c.canvas.rectangleOutline(f.x, f.y, f.width, f.height,
                              kLapColoursPrimary[static_cast<std::size_t>(slot)]);
  }
  for (int slot = 0; slot < c.stores.selectedCount && slot < 4; ++slot) {
    c.canvas.rectangleOutline(1845, kBarRows[v][slot], 51, 1,
                              kLapColoursPrimary[static_cast<std::size_t>(slot)]);
  }
}

int firstPoint(const GraphContext& c, int first, int end) {
  if (!multiLapMode(c)) return first + c.view.scrollOffset;
  for (int k = first; k < end; ++k)
    if (distanceAt(c, k) > c.view.scrollOffset) return k;
  return -1;
}

}  // namespace lv
