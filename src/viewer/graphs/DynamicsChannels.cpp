// Vehicle-dynamics channels with rules of their own: the windowed heading and yaw channels,
// oversteering, and the accelerations computed from speed and path.
#include <cmath>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

float heading(const GraphContext& c, int k) {
  return c.stores.headingTable[static_cast<std::size_t>(clampRow(k))];
}
float chord(const GraphContext& c, int k) {
  return c.stores.trackDistanceStep[static_cast<std::size_t>(clampRow(k))];
}
std::int32_t yaw(const GraphContext& c, int k) {
  return frameAt(c, k).f[FrameRecord::kYaw];
}
float speed(const GraphContext& c, int k) {
  return telemetryAt(c, k).f[TelemetryRecord::kSpeed];
}
int fpsOf(const GraphContext& c, const LapRange& lap) {
  return c.stores.lapFps[static_cast<std::size_t>(lap.lap)];
}
bool noTelemetry(const GraphContext& c, const LapRange& lap) {
  return telemetryAt(c, lap.first).f[TelemetryRecord::kMapX] == 0.0f;
}

// A windowed channel: the first sample of the window further along than the scroll offset
// starts the curve at the left edge; lines follow to the window's end or the plot's edge.
struct WindowedChannel {
  ColourSet colours;
  bool (*skipLap)(const GraphContext&, const LapRange&);
  int (*margin)(const GraphContext&, const LapRange&, bool atEnd);
  // Row of sample k; `firstPoint` is true for the point that starts the curve.
  int (*row)(GraphContext&, int k, const LapRange& lap, int k0, bool firstPoint);
};

void plotWindowed(GraphContext& c, const WindowedChannel& channel) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) {
    LapRange lap = lapInSlot(c, slot);
    if (channel.skipLap != nullptr && channel.skipLap(c, lap)) continue;
    PenScope pen(c.canvas, lapColour(channel.colours, slot));
    int from = lap.first + channel.margin(c, lap, false);
    int to = lap.end - channel.margin(c, lap, true);
    int k0 = -1;
    for (int k = from; k < to && k0 < 0; ++k) {
      std::int64_t position = multiLapMode(c) ? distanceAt(c, k) : k - lap.first;
      if (position > c.view.scrollOffset) k0 = k;
    }
    if (k0 < 0) continue;
    c.canvas.moveTo(0, channel.row(c, k0, lap, k0, true));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, slot);
    for (int k = k0 + 1; k < to; ++k) {
      int x = axis.x(k);
      if (x > kPlotWidth) break;
      curve.add({x, channel.row(c, k, lap, k0, false)});
    }
  }
}

int directionRow(GraphContext& c, int k, const LapRange& lap, int, bool) {
  float a = heading(c, k + 8);
  float b = heading(c, k - 8);
  if (heading(c, k - 8) > heading(c, k + 8) + 180) a = heading(c, k + 8) + 360;
  if (heading(c, k + 8) > heading(c, k - 8) + 180) b = heading(c, k - 8) + 360;
  float v = (a - b) * static_cast<float>(fpsOf(c, lap)) / 36.0f * 4096.0f / 360.0f;
  return rowOf(244, 0.5, v);
}

int noiseRow(GraphContext& c, int k, const LapRange& lap, int, bool) {
  std::int64_t a = yaw(c, k + 8);
  std::int64_t b = yaw(c, k - 8);
  if (a + 2048 < b) a += 4096;
  if (b + 2048 < a) b += 4096;
  std::int64_t v = (a - b) * fpsOf(c, lap) / 36;
  return rowOf(244, 0.5, static_cast<double>(v));
}

int yawHalfWidth(const GraphContext& c, const LapRange& lap) {
  return fpsOf(c, lap) == 60 ? 13 : 8;
}

int yawAccelerationRow(GraphContext& c, int k, const LapRange& lap, int, bool) {
  int w = yawHalfWidth(c, lap);
  std::int64_t a = yaw(c, k + w), b = yaw(c, k - w), centre = yaw(c, k);
  if (a + 2048 < b) a = yaw(c, k + w) + 4096;
  if (yaw(c, k - w) + 2048 < yaw(c, k + w)) b = yaw(c, k - w) + 4096;
  if (centre + 2048 < a) {
    centre += 4096;
  } else if (centre - 2048 > a) {
    centre -= 4096;
  }
  return rowOf(844, 1, static_cast<double>((a - centre) - (centre - b)));
}

// Oversteering carries its turning sign from point to point and lap to lap within a press.
float turningSign = 1.0f;

int headingPlus(const GraphContext& c, int k, bool wrap) {
  return truncToInt(heading(c, k) + (wrap ? 360.0f : 0.0f));
}

void updateTurningSign(const GraphContext& c, int k, const LapRange& lap, int k0, bool firstPoint) {
  int span;
  if (firstPoint && lap.first + 1 < k && k < lap.end - 2) {
    span = 2;
  } else if (!firstPoint && k > k0 + 3 && k < lap.end - 3) {
    span = 3;
  } else {
    return;
  }
  int h1 = headingPlus(c, k + span, false);
  int h2 = headingPlus(c, k - span, false);
  if (h2 > h1 + 180) h1 = headingPlus(c, k + span, true);
  if (h1 > h2 + 180) h2 = headingPlus(c, k - span, true);
  if (h1 != h2) turningSign = static_cast<float>((h1 - h2) / std::abs(h1 - h2));
}

int oversteerRow(GraphContext& c, int k, const LapRange& lap, int k0, bool firstPoint) {
  float a = static_cast<float>(yaw(c, k));
  float b = heading(c, k) * 4096.0f / 360.0f;
  if (b > a + 2048) a += 4096;
  if (a > b + 2048) b = heading(c, k) * 4096.0f / 360.0f + 4096.0f;
  updateTurningSign(c, k, lap, k0, firstPoint);
  return rowOf(1010, 0.45, (a - b) * turningSign);
}

void plotDirection(GraphContext& c) {
  plotWindowed(c, {ColourSet::kSecondary, noTelemetry,
                   [](const GraphContext&, const LapRange&, bool atEnd) { return atEnd ? 12 : 13; },
                   directionRow});
}

void plotNoise(GraphContext& c) {
  drawZeroLine(c, 0, 244, 1817, 244);
  plotWindowed(c, {ColourSet::kPrimary, nullptr,
                   [](const GraphContext&, const LapRange&, bool) { return 8; }, noiseRow});
}

void plotYawAcceleration(GraphContext& c) {
  drawZeroLine(c, 0, 844, 1817, 844);
  plotWindowed(
      c, {ColourSet::kPrimary, nullptr,
          [](const GraphContext& g, const LapRange& lap, bool) { return yawHalfWidth(g, lap); },
          yawAccelerationRow});
}

void plotOversteering(GraphContext& c) {
  turningSign = 1.0f;
  plotWindowed(c, {ColourSet::kPrimary, noTelemetry,
                   [](const GraphContext&, const LapRange&, bool atEnd) { return atEnd ? 4 : 5; },
                   oversteerRow});
}

// Heading change from sample k - 1 to k in degrees, across the 0/360 wrap.
float headingStep(const GraphContext& c, int k) {
  float a = heading(c, k), b = heading(c, k - 1);
  if (heading(c, k - 1) > heading(c, k) + 180) a = heading(c, k) + 360;
  if (heading(c, k) > heading(c, k - 1) + 180) b = heading(c, k - 1) + 360;
  return a - b;
}

double lateralAcceleration(const GraphContext& c, int k, float dh, float chordLength,
                           double frameFactor) {
  double v = static_cast<double>(speed(c, k)) * speed(c, k) * std::sin(static_cast<double>(dh)) /
             chordLength;
  return v * frameFactor;
}

void plotLateralAccelerationLap(GraphContext& c, int slot) {
  LapRange lap = lapInSlot(c, slot);
  int fps = fpsOf(c, lap);
  double frameFactor = fps != 0 ? 36.0 / fps : 0.0;
  PenScope pen(c.canvas, kLapColoursPrimary[static_cast<std::size_t>(slot)]);
  int k0 = -1;
  int firstRow = 949;
  if (multiLapMode(c)) {
    for (int k = lap.first + 5; k < lap.end - 4 && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
    float d = chord(c, k0);
    if (d != 0.0f)
      firstRow = rowOf(949, 0.035, lateralAcceleration(c, k0, headingStep(c, k0), d, 1.0));
  } else {
    k0 = lap.first + c.view.scrollOffset;
  }
  c.canvas.moveTo(xOf(c, k0, slot), firstRow);
  PolylineBatch curve(c.canvas);
  float previousStep = 0.0f;
  bool previousHeld = false;
  int following = 0;
  const LapAxis axis(c, slot);
  for (int k = multiLapMode(c) ? k0 : k0 + 1; k < lap.end - 4; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    ++following;
    float dh = headingStep(c, k);
    if (std::sin(static_cast<double>(dh)) == 0.0) continue;
    bool shrinking = previousStep == 0.0f ||
                     std::trunc(std::fabs((1000.0 * dh) / (1000.0 * previousStep))) < 0.7;
    if (following >= 3 && !previousHeld && shrinking) {
      // A heading change that shrank against the one before holds the previous step.
      float d = chord(c, k - 1);
      if (d != 0.0f)
        curve.add({x, rowOf(949, 0.035, lateralAcceleration(c, k, previousStep, d, frameFactor))});
      previousHeld = true;
      ++k;
      continue;
    }
    float d = chord(c, k);
    previousHeld = false;
    previousStep = dh;
    // A car standing still has no path to bend: no point.
    if (d == 0.0f) continue;
    curve.add({x, rowOf(949, 0.035, lateralAcceleration(c, k, dh, d, frameFactor))});
  }
}

void plotLateralAcceleration(GraphContext& c) {
  drawZeroLine(c, 0, 949, 1817, 949);
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) plotLateralAccelerationLap(c, slot);
}

void plotAccelerationLap(GraphContext& c, int slot) {
  LapRange lap = lapInSlot(c, slot);
  if (noTelemetry(c, lap)) return;
  int fps = fpsOf(c, lap);
  const double fullStep = fps == 60 ? 1.6666666 : 1.0;
  const double halfStep = fps == 60 ? 0.8333333 : 0.5;
  PenScope pen(c.canvas, kLapColoursPrimary[static_cast<std::size_t>(slot)]);
  auto dv = [&c](int k) { return speed(c, k) - speed(c, k - 1); };
  int k0 = -1;
  if (multiLapMode(c)) {
    for (int k = lap.first + 1; k < lap.end && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
  } else {
    k0 = lap.first + c.view.scrollOffset;
  }
  c.canvas.moveTo(xOf(c, k0, slot), rowOf(150, 150, dv(k0)));
  PolylineBatch curve(c.canvas);
  double factor = fullStep;
  const LapAxis axis(c, slot);
  for (int k = multiLapMode(c) ? k0 : k0 + 1; k < lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    float step = dv(k);
    if (step == 0.0f) {
      factor = halfStep;
      continue;
    }
    // The logged speed step must agree with the replay's distances within 0.5 m/s².
    double telemetryAcceleration = step / 3.6 * fps * 2000.0;
    std::int64_t replayAcceleration =
        ((static_cast<std::int64_t>(distanceAt(c, k)) - distanceAt(c, k - 1)) -
         (static_cast<std::int64_t>(distanceAt(c, k - 1)) - distanceAt(c, k - 2))) *
        fps * fps;
    if (std::abs(static_cast<std::int64_t>(
            truncToInt(telemetryAcceleration - static_cast<double>(replayAcceleration)))) < 1000) {
      curve.add({x, rowOf(150, 150 * factor, step)});
    }
    factor = fullStep;
  }
}

void plotAcceleration(GraphContext& c) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) plotAccelerationLap(c, slot);
}

}  // namespace

void registerDynamicsChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kDirection, &plotDirection);
  commands.set(ChannelId::kNoise, &plotNoise);
  commands.set(ChannelId::kHeadingAcceleration, &plotYawAcceleration);
  commands.set(ChannelId::kOversteering, &plotOversteering);
  commands.set(ChannelId::kLatAcceleration, &plotLateralAcceleration);
  commands.set(ChannelId::kAcceleration, &plotAcceleration);
}

}  // namespace lv
