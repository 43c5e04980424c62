// The tyre channels: one curve per wheel, in the wheel colours, for the radio slot's lap only.
#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/Truncate.h"
#include "viewer/overviews/OverviewChannels.h"

namespace lv {
namespace {

struct RadioLap {
  int slot;
  LapRange lap;
  int fps;
};

RadioLap radioLap(GraphContext& c) {
  takeAxisSpan(c);
  int slot = c.stores.radioSlot;
  LapRange lap = lapInSlot(c, slot);
  return {slot, lap, c.stores.lapFps[static_cast<std::size_t>(lap.lap)]};
}

std::int64_t positionOf(const GraphContext& c, int k, const LapRange& lap) {
  return multiLapMode(c) ? distanceAt(c, k) : k - lap.first;
}

// First sample from `from` on (before `to`) further along than the scroll offset, or -1.
int firstAfterOffset(const GraphContext& c, const LapRange& lap, int from, int to) {
  for (int k = from; k < to; ++k)
    if (positionOf(c, k, lap) > c.view.scrollOffset) return k;
  return -1;
}

float wearAt(const GraphContext& c, int k, int wheel) {
  return c.stores.extraTable[static_cast<std::size_t>(clampRow(k))].f[wheel];
}

bool hasWear(const GraphContext& c) {
  LapRange lap = lapInSlot(c, c.stores.radioSlot);
  return wearAt(c, lap.end - 5, 0) > 0.5f;
}

void plotWear(GraphContext& c) {
  RadioLap r = radioLap(c);
  int step = r.fps == 60 ? 5 : 3;
  int lastFirst = r.lap.end - (r.fps == 60 ? 4 : 2);
  for (int wheel = 0; wheel < 4; ++wheel) {
    {
      PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
      double baseline = wheel < 2 ? 894 : 1014;
      auto row = [&](int k) {
        return rowOf(baseline, 1000000.0, wearAt(c, k + step, wheel) - wearAt(c, k, wheel));
      };
      int k0 = firstAfterOffset(c, r.lap, r.lap.first, lastFirst);
      if (k0 >= 0) {
        c.canvas.moveTo(0, row(k0));
        PolylineBatch curve(c.canvas);
        const LapAxis axis(c, r.slot);
        for (int k = k0 + 1; k < r.lap.end - 4; ++k) {
          int x = axis.x(k);
          if (x > kPlotWidth) break;
          curve.add({x, row(k)});
        }
      }
    }
    if (wheel == 0) {
      // Frames around the wear boxes of the control column.
      c.canvas.rectangleOutline(1829, 440, 30, 22, kWheelColours[0]);
      c.canvas.rectangleOutline(1863, 441, 30, 21, kWheelColours[1]);
      c.canvas.rectangleOutline(1829, 462, 30, 20, kWheelColours[2]);
      c.canvas.rectangleOutline(1863, 462, 30, 20, kWheelColours[3]);
    }
  }
}

int wheelCounter(const GraphContext& c, int k, int wheel) {
  return frameAt(c, k).f[FrameRecord::kWheelTurns0 + wheel];
}

int wheelspeedRow(const GraphContext& c, int k, int wheel, int fps, bool firstPoint) {
  double d;
  double threshold;
  if (fps == 60) {
    d = wheelCounter(c, k + 1, wheel) - wheelCounter(c, k - 1, wheel);
    threshold = 65.0;
  } else {
    d = firstPoint ? wheelCounter(c, k + 1, wheel) - wheelCounter(c, k, wheel)
                   : wheelCounter(c, k, wheel) - wheelCounter(c, k - 1, wheel);
    threshold = 78.0;
  }
  if (d < 0) d += 128;
  double limit = wheel < 2 ? 245.0 : 220.0;
  double speed = telemetryAt(c, k).f[TelemetryRecord::kSpeed];
  if (fps == 60) speed = speed * 36 / 30;
  // Above the limit a small count means the counter went round once more.
  if (speed > limit && d < threshold) d += 128;
  if (fps == 60) d = d * 30 / 36;
  return truncToInt(724 + 105 - d * 249 / 128 * 2.25);
}

void plotWheelspeed(GraphContext& c) {
  RadioLap r = radioLap(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    int k0 = firstAfterOffset(c, r.lap, r.lap.first + 1, r.lap.end);
    if (k0 < 0) continue;
    c.canvas.moveTo(0, wheelspeedRow(c, k0, wheel, r.fps, true));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, r.slot);
    for (int k = k0 + 1; k < r.lap.end - 1; ++k) {
      int x = axis.x(k);
      if (x > kPlotWidth) break;
      curve.add({x, wheelspeedRow(c, k, wheel, r.fps, false)});
    }
  }
}

bool contactPatchShown(const GraphContext& c) {
  return c.stores.contactPatchMode % 2 != 0;
}

// The three temperatures of a wheel at sample k: contact patch or tread, by the display mode.
std::array<double, 3> wheelTemperatures(const GraphContext& c, int k, int wheel) {
  std::size_t row = static_cast<std::size_t>(clampRow(k));
  std::array<double, 3> t{};
  for (int band = 0; band < 3; ++band) {
    t[static_cast<std::size_t>(band)] = contactPatchShown(c)
                                            ? c.stores.contactPatchTable[row].f[3 * wheel + band]
                                            : c.stores.telemetryTable[row].f[12 + 3 * wheel + band];
  }
  return t;
}

void plotTyreTemps(GraphContext& c) {
  RadioLap r = radioLap(c);
  bool patch = contactPatchShown(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    auto row = [&](int k) {
      const WheelTemps& t = patch ? c.stores.contactPatchAvg[static_cast<std::size_t>(clampRow(k))]
                                  : c.stores.tyreTempAvg[static_cast<std::size_t>(clampRow(k))];
      return patch ? rowOf(654, 2.8, t.w[wheel]) : rowOf(747, 4.0, t.w[wheel]);
    };
    int k0 = multiLapMode(c) ? firstAfterOffset(c, r.lap, r.lap.first, r.lap.end)
                             : r.lap.first + c.view.scrollOffset;
    if (k0 < 0) continue;
    c.canvas.moveTo(xOf(c, k0, r.slot), row(k0));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, r.slot);
    for (int k = multiLapMode(c) ? k0 : k0 + 1; k < r.lap.end; ++k) {
      int x = axis.x(k);
      if (x > kPlotWidth) break;
      curve.add({x, row(k)});
    }
  }
}

// One curve of "ou-i" or "cent-ou": single-lap mode starts at the left edge.
void plotDifferenceCurve(GraphContext& c, const RadioLap& r, int wheel, double baseline,
                         double scale, double (*value)(const std::array<double, 3>&)) {
  auto row = [&](int k) { return rowOf(baseline, scale, value(wheelTemperatures(c, k, wheel))); };
  int k0;
  int next;
  if (multiLapMode(c)) {
    k0 = firstAfterOffset(c, r.lap, r.lap.first, r.lap.end);
    if (k0 < 0) return;
    c.canvas.moveTo(xOf(c, k0, r.slot), row(k0));
    next = k0;
  } else {
    k0 = r.lap.first + c.view.scrollOffset;
    c.canvas.moveTo(0, row(k0));
    next = contactPatchShown(c) ? k0 : k0 + 1;
  }
  PolylineBatch curve(c.canvas);
  const LapAxis axis(c, r.slot);
  for (int k = next; k < r.lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    curve.add({x, row(k)});
  }
}

// Two rows of status bars of a wheel from the status word's 2-bit fields.
void drawStatusBars(GraphContext& c, const RadioLap& r, int wheel) {
  StrokeBatch bars(c.canvas);
  const LapAxis axis(c, r.slot);
  for (int k = r.lap.first; k < r.lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    std::int32_t word = frameAt(c, k).f[FrameRecord::kStatusWord];
    for (int i = 0; i < 2; ++i) {
      int row = kStatusRows[wheel][i];
      int length = 2 * statusField(word, kStatusBits[wheel][i]);
      bars.add({x, row, row + length});
      bars.add({x - 1, row, row + length});
    }
  }
}

void plotOutsideInside(GraphContext& c) {
  drawZeroLine(c, 0, 624, 1817, 624);
  RadioLap r = radioLap(c);
  bool patch = contactPatchShown(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    if (!patch) drawStatusBars(c, r, wheel);
    plotDifferenceCurve(c, r, wheel, 624, patch ? 10.0 : 23.0,
                        [](const std::array<double, 3>& t) { return t[2] - t[0]; });
  }
}

void plotCentreOutside(GraphContext& c) {
  drawZeroLine(c, 0, 824, 1817, 824);
  RadioLap r = radioLap(c);
  bool patch = contactPatchShown(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    plotDifferenceCurve(c, r, wheel, 824, patch ? 20.0 : 40.0,
                        [](const std::array<double, 3>& t) { return t[1] - (t[0] + t[2]) / 2.0; });
  }
}

}  // namespace

void registerTyreChannels(ChannelCommands& commands) {
  ChannelCommand wear;
  wear.plot = &plotWear;
  // Without wear data the button only counts its presses.
  wear.drawsAfterCount = &hasWear;
  commands.set(ChannelId::kWear, wear);
  commands.set(ChannelId::kWheelspeed, &plotWheelspeed);
  commands.set(ChannelId::kTireTemps, &plotTyreTemps);
  commands.set(ChannelId::kOutsideInside, &plotOutsideInside);
  commands.set(ChannelId::kCentreOutside, &plotCentreOutside);
}

}  // namespace lv
