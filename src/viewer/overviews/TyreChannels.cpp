// The tyre channels: one curve per wheel, in the wheel colours, for the radio slot's lap only.
#include <cstdint>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/PlotKernel.h"
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
      auto change = [step, wheel](const auto& rows, int k) {
        return rows.wear(k + step, wheel) - rows.wear(k, wheel);
      };
      int k0 = firstAfterOffset(c, r.lap, r.lap.first, lastFirst);
      if (k0 >= 0) {
        c.canvas.moveTo(0, rowOf(baseline, 1000000.0, change(ClampedRows(c.stores), k0)));
        PolylineBatch curve(c.canvas);
        const LapAxis axis(c, r.slot);
        addCurvePoints(curve, c, axis, k0 + 1, r.lap.end - 4, [&](const auto& rows, int k) {
          return unroundedRow(baseline, 1000000.0, change(rows, k));
        });
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

// In 64 bits: the difference of two counters a file holds may not fit 32.
template <typename Rows>
std::int64_t wheelCounter(const Rows& rows, int k, int wheel) {
  return rows.frame(k, FrameRecord::kWheelTurns0 + wheel);
}

// The row before its truncation.
template <typename Rows>
double wheelspeedRow(const Rows& rows, int k, int wheel, int fps, bool firstPoint) {
  double d;
  double threshold;
  if (fps == 60) {
    d = static_cast<double>(wheelCounter(rows, k + 1, wheel) - wheelCounter(rows, k - 1, wheel));
    threshold = 65.0;
  } else {
    d = static_cast<double>(firstPoint
                                ? wheelCounter(rows, k + 1, wheel) - wheelCounter(rows, k, wheel)
                                : wheelCounter(rows, k, wheel) - wheelCounter(rows, k - 1, wheel));
    threshold = 78.0;
  }
  if (d < 0) d += 128;
  double limit = wheel < 2 ? 245.0 : 220.0;
  double speed = rows.telemetry(k, TelemetryRecord::kSpeed);
  if (fps == 60) speed = speed * 36 / 30;
  // Above the limit a small count means the counter went round once more.
  if (speed > limit && d < threshold) d += 128;
  if (fps == 60) d = d * 30 / 36;
  return 724 + 105 - d * 249 / 128 * 2.25;
}

void plotWheelspeed(GraphContext& c) {
  RadioLap r = radioLap(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    int k0 = firstAfterOffset(c, r.lap, r.lap.first + 1, r.lap.end);
    if (k0 < 0) continue;
    c.canvas.moveTo(0, truncToInt(wheelspeedRow(ClampedRows(c.stores), k0, wheel, r.fps, true)));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, r.slot);
    addCurvePoints(curve, c, axis, k0 + 1, r.lap.end - 1, [&](const auto& rows, int k) {
      return wheelspeedRow(rows, k, wheel, r.fps, false);
    });
  }
}

bool contactPatchShown(const GraphContext& c) {
  return c.stores.contactPatchMode % 2 != 0;
}

// The three temperatures of a wheel at sample k: contact patch or tread, by the display mode.
template <typename Rows>
std::array<double, 3> wheelTemperatures(const Rows& rows, bool patch, int k, int wheel) {
  std::array<double, 3> t{};
  for (int band = 0; band < 3; ++band) {
    t[static_cast<std::size_t>(band)] =
        patch ? rows.contactPatch(k, 3 * wheel + band) : rows.telemetry(k, 12 + 3 * wheel + band);
  }
  return t;
}

void plotTyreTemps(GraphContext& c) {
  RadioLap r = radioLap(c);
  bool patch = contactPatchShown(c);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    auto row = [patch, wheel](const auto& rows, int k) {
      return patch ? unroundedRow(654, 2.8, rows.contactPatchAvg(k, wheel))
                   : unroundedRow(747, 4.0, rows.tyreTempAvg(k, wheel));
    };
    int k0 = multiLapMode(c) ? firstAfterOffset(c, r.lap, r.lap.first, r.lap.end)
                             : r.lap.first + c.view.scrollOffset;
    if (k0 < 0) continue;
    c.canvas.moveTo(xOf(c, k0, r.slot), truncToInt(row(ClampedRows(c.stores), k0)));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, r.slot);
    addCurvePoints(curve, c, axis, multiLapMode(c) ? k0 : k0 + 1, r.lap.end, row);
  }
}

// One curve of "ou-i" or "cent-ou": single-lap mode starts at the left edge.
template <typename Value>
void plotDifferenceCurve(GraphContext& c, const RadioLap& r, int wheel, double baseline,
                         double scale, Value value) {
  const bool patch = contactPatchShown(c);
  auto row = [&](const auto& rows, int k) {
    return unroundedRow(baseline, scale, value(wheelTemperatures(rows, patch, k, wheel)));
  };
  const ClampedRows clamped(c.stores);
  int k0;
  int next;
  if (multiLapMode(c)) {
    k0 = firstAfterOffset(c, r.lap, r.lap.first, r.lap.end);
    if (k0 < 0) return;
    c.canvas.moveTo(xOf(c, k0, r.slot), truncToInt(row(clamped, k0)));
    next = k0;
  } else {
    k0 = r.lap.first + c.view.scrollOffset;
    c.canvas.moveTo(0, truncToInt(row(clamped, k0)));
    next = patch ? k0 : k0 + 1;
  }
  PolylineBatch curve(c.canvas);
  const LapAxis axis(c, r.slot);
  addCurvePoints(curve, c, axis, next, r.lap.end, row);
}

// Two rows of status bars of a wheel from the status word's 2-bit fields.
void drawStatusBars(GraphContext& c, const RadioLap& r, int wheel) {
  StrokeBatch bars(c.canvas);
  const LapAxis axis(c, r.slot);
  addBarStrokes(bars, c, axis, r.lap.first, r.lap.end,
                [wheel](const auto& rows, int k, int x, StrokeBatch& strokes) {
                  std::int32_t word = rows.frame(k, FrameRecord::kStatusWord);
                  for (int i = 0; i < 2; ++i) {
                    int row = kStatusRows[wheel][i];
                    int length = 2 * statusField(word, kStatusBits[wheel][i]);
                    strokes.add({x, row, row + length});
                    strokes.add({x - 1, row, row + length});
                  }
                });
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
