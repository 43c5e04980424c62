#include "viewer/graphs/GraphCanvas.h"

#include "viewer/graphs/CanvasBatch.h"
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

namespace {

// First point of a lap: single-lap mode takes the sample at the scroll offset; multi-lap mode
// the first sample further along than the offset (-1: none).
int firstPoint(const GraphContext& c, int first, int end) {
  if (!multiLapMode(c)) return first + c.view.scrollOffset;
  for (int k = first; k < end; ++k)
    if (distanceAt(c, k) > c.view.scrollOffset) return k;
  return -1;
}

void plotLap(GraphContext& c, const PlotStyle& style, int slot) {
  LapRange lap = lapInSlot(c, slot);
  if (style.skipLap != nullptr && style.skipLap(c, lap)) return;
  PenScope pen(c.canvas, lapColour(style.colours, slot));
  int k0 = firstPoint(c, lap.first, lap.end);
  if (k0 < 0) return;
  auto row = [&](int k) { return rowOf(style.baseline, style.scale, style.value(c, k, lap)); };
  LapAxis axis(c, slot);
  c.canvas.moveTo(axis.x(k0), row(k0));
  PolylineBatch curve(c.canvas);
  for (int k = multiLapMode(c) ? k0 : k0 + 1; k < lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    if (style.skipPoint != nullptr && style.skipPoint(c, k)) continue;
    curve.add({x, row(k)});
  }
}

}  // namespace

void plotChannel(GraphContext& c, const PlotStyle& style) {
  if (style.radioSlotOnly) {
    takeAxisSpan(c);
    plotLap(c, style, c.stores.radioSlot);
    return;
  }
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) plotLap(c, style, slot);
}

}  // namespace lv
