// Vehicle-dynamics channels with rules of their own: the windowed heading and yaw channels,
// oversteering, and the accelerations computed from speed and path.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/PlotKernel.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

int fpsOf(const GraphContext& c, const LapRange& lap) {
  return c.stores.lapFps[static_cast<std::size_t>(lap.lap)];
}
bool noTelemetry(const GraphContext& c, const LapRange& lap) {
  return telemetryAt(c, lap.first).f[TelemetryRecord::kMapX] == 0.0f;
}
template <typename Rows>
std::int32_t yawOf(const Rows& rows, int k) {
  return rows.frame(k, FrameRecord::kYaw);
}
template <typename Rows>
float speedOf(const Rows& rows, int k) {
  return rows.telemetry(k, TelemetryRecord::kSpeed);
}

// A windowed channel: the first sample of the window further along than the scroll offset
// starts the curve at the left edge; lines follow to the window's end or the plot's edge.
// margin(c, lap, atEnd) narrows the lap to the window; row(rows, k, lap, k0, firstPoint) is
// the row of sample k before its truncation, `firstPoint` true for the point that starts the
// curve.
template <typename Margin, typename Row>
void plotWindowed(GraphContext& c, ColourSet colours,
                  bool (*skipLap)(const GraphContext&, const LapRange&), Margin margin, Row row) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) {
    LapRange lap = lapInSlot(c, slot);
    if (skipLap != nullptr && skipLap(c, lap)) continue;
    PenScope pen(c.canvas, lapColour(colours, slot));
    int from = lap.first + margin(c, lap, false);
    int to = lap.end - margin(c, lap, true);
    int k0 = -1;
    for (int k = from; k < to && k0 < 0; ++k) {
      std::int64_t position = multiLapMode(c) ? distanceAt(c, k) : k - lap.first;
      if (position > c.view.scrollOffset) k0 = k;
    }
    if (k0 < 0) continue;
    c.canvas.moveTo(0, truncToInt(row(ClampedRows(c.stores), k0, lap, k0, true)));
    PolylineBatch curve(c.canvas);
    const LapAxis axis(c, slot);
    addCurvePoints(curve, c, axis, k0 + 1, to,
                   [&](const auto& rows, int k) { return row(rows, k, lap, k0, false); });
  }
}

template <typename Rows>
double directionRow(const Rows& rows, int k, int fps) {
  float a = rows.heading(k + 8);
  float b = rows.heading(k - 8);
  if (rows.heading(k - 8) > rows.heading(k + 8) + 180) a = rows.heading(k + 8) + 360;
  if (rows.heading(k + 8) > rows.heading(k - 8) + 180) b = rows.heading(k - 8) + 360;
  float v = (a - b) * static_cast<float>(fps) / 36.0f * 4096.0f / 360.0f;
  return unroundedRow(244, 0.5, v);
}

template <typename Rows>
double noiseRow(const Rows& rows, int k, int fps) {
  std::int64_t a = yawOf(rows, k + 8);
  std::int64_t b = yawOf(rows, k - 8);
  if (a + 2048 < b) a += 4096;
  if (b + 2048 < a) b += 4096;
  std::int64_t v = (a - b) * fps / 36;
  return unroundedRow(244, 0.5, static_cast<double>(v));
}

int yawHalfWidth(const GraphContext& c, const LapRange& lap) {
  return fpsOf(c, lap) == 60 ? 13 : 8;
}

template <typename Rows>
double yawAccelerationRow(const Rows& rows, int k, int w) {
  std::int64_t a = yawOf(rows, k + w), b = yawOf(rows, k - w), centre = yawOf(rows, k);
  if (a + 2048 < b) a = yawOf(rows, k + w) + 4096;
  if (yawOf(rows, k - w) + 2048 < yawOf(rows, k + w)) b = yawOf(rows, k - w) + 4096;
  if (centre + 2048 < a) {
    centre += 4096;
  } else if (centre - 2048 > a) {
    centre -= 4096;
  }
  return unroundedRow(844, 1, static_cast<double>((a - centre) - (centre - b)));
}

// Oversteering carries its turning sign from point to point and lap to lap within a press.
float turningSign = 1.0f;

// In 64 bits, as the headings of a file can reach the ends of the int range.
template <typename Rows>
std::int64_t headingPlus(const Rows& rows, int k, bool wrap) {
  return truncToInt(rows.heading(k) + (wrap ? 360.0f : 0.0f));
}

template <typename Rows>
void updateTurningSign(const Rows& rows, int k, const LapRange& lap, int k0, bool firstPoint) {
  int span;
  if (firstPoint && lap.first + 1 < k && k < lap.end - 2) {
    span = 2;
  } else if (!firstPoint && k > k0 + 3 && k < lap.end - 3) {
    span = 3;
  } else {
    return;
  }
  std::int64_t h1 = headingPlus(rows, k + span, false);
  std::int64_t h2 = headingPlus(rows, k - span, false);
  if (h2 > h1 + 180) h1 = headingPlus(rows, k + span, true);
  if (h1 > h2 + 180) h2 = headingPlus(rows, k - span, true);
  if (h1 != h2) turningSign = static_cast<float>((h1 - h2) / std::llabs(h1 - h2));
}

template <typename Rows>
double oversteerRow(const Rows& rows, int k, const LapRange& lap, int k0, bool firstPoint) {
  float a = static_cast<float>(yawOf(rows, k));
  float b = rows.heading(k) * 4096.0f / 360.0f;
  if (b > a + 2048) a += 4096;
  if (a > b + 2048) b = rows.heading(k) * 4096.0f / 360.0f + 4096.0f;
  updateTurningSign(rows, k, lap, k0, firstPoint);
  return unroundedRow(1010, 0.45, (a - b) * turningSign);
}

void plotDirection(GraphContext& c) {
  plotWindowed(
      c, ColourSet::kSecondary, noTelemetry,
      [](const GraphContext&, const LapRange&, bool atEnd) { return atEnd ? 12 : 13; },
      [&c](const auto& rows, int k, const LapRange& lap, int, bool) {
        return directionRow(rows, k, fpsOf(c, lap));
      });
}

void plotNoise(GraphContext& c) {
  drawZeroLine(c, 0, 244, 1817, 244);
  plotWindowed(
      c, ColourSet::kPrimary, nullptr, [](const GraphContext&, const LapRange&, bool) { return 8; },
      [&c](const auto& rows, int k, const LapRange& lap, int, bool) {
        return noiseRow(rows, k, fpsOf(c, lap));
      });
}

void plotYawAcceleration(GraphContext& c) {
  drawZeroLine(c, 0, 844, 1817, 844);
  plotWindowed(
      c, ColourSet::kPrimary, nullptr,
      [](const GraphContext& g, const LapRange& lap, bool) { return yawHalfWidth(g, lap); },
      [&c](const auto& rows, int k, const LapRange& lap, int, bool) {
        return yawAccelerationRow(rows, k, yawHalfWidth(c, lap));
      });
}

void plotOversteering(GraphContext& c) {
  turningSign = 1.0f;
  plotWindowed(
      c, ColourSet::kPrimary, noTelemetry,
      [](const GraphContext&, const LapRange&, bool atEnd) { return atEnd ? 4 : 5; },
      [](const auto& rows, int k, const LapRange& lap, int k0, bool firstPoint) {
        return oversteerRow(rows, k, lap, k0, firstPoint);
      });
}

// Heading change from sample k - 1 to k in degrees, across the 0/360 wrap.
template <typename Rows>
float headingStep(const Rows& rows, int k) {
  float a = rows.heading(k), b = rows.heading(k - 1);
  if (rows.heading(k - 1) > rows.heading(k) + 180) a = rows.heading(k) + 360;
  if (rows.heading(k) > rows.heading(k - 1) + 180) b = rows.heading(k - 1) + 360;
  return a - b;
}

// (speed at k)² x sin(dh) / chord x frameFactor, with sin(dh) worked out by the caller.
template <typename Rows>
double lateralAcceleration(const Rows& rows, int k, double sine, float chordLength,
                           double frameFactor) {
  double v = static_cast<double>(speedOf(rows, k)) * speedOf(rows, k) * sine / chordLength;
  return v * frameFactor;
}

void plotLateralAccelerationLap(GraphContext& c, int slot) {
  LapRange lap = lapInSlot(c, slot);
  int fps = fpsOf(c, lap);
  double frameFactor = fps != 0 ? 36.0 / fps : 0.0;
  PenScope pen(c.canvas, kLapColoursPrimary[static_cast<std::size_t>(slot)]);
  const ClampedRows clamped(c.stores);
  int k0 = -1;
  int firstRow = 949;
  if (multiLapMode(c)) {
    for (int k = lap.first + 5; k < lap.end - 4 && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
    float d = clamped.chord(k0);
    if (d != 0.0f) {
      double sine = std::sin(static_cast<double>(headingStep(clamped, k0)));
      firstRow = rowOf(949, 0.035, lateralAcceleration(clamped, k0, sine, d, 1.0));
    }
  } else {
    k0 = lap.first + c.view.scrollOffset;
  }
  c.canvas.moveTo(xOf(c, k0, slot), firstRow);
  PolylineBatch curve(c.canvas);
  float previousStep = 0.0f;
  double previousSine = std::sin(0.0);  // sin(previousStep)
  bool previousHeld = false;
  int following = 0;
  const LapAxis axis(c, slot);
  walkAxis(
      c, axis, multiLapMode(c) ? k0 : k0 + 1, lap.end - 4, [&](const auto& rows, int k, int x) {
        if (x > kPlotWidth) return 0;
        ++following;
        float dh = headingStep(rows, k);
        double sine = std::sin(static_cast<double>(dh));
        if (sine == 0.0) return 1;
        bool shrinking = previousStep == 0.0f ||
                         std::trunc(std::fabs((1000.0 * dh) / (1000.0 * previousStep))) < 0.7;
        if (following >= 3 && !previousHeld && shrinking) {
          // A heading change that shrank against the one before holds the previous step;
          // the next sample is stepped over.
          float d = rows.chord(k - 1);
          if (d != 0.0f) {
            curve.add(
                {x, rowOfBranchless(949, 0.035,
                                    lateralAcceleration(rows, k, previousSine, d, frameFactor))});
          }
          previousHeld = true;
          return 2;
        }
        float d = rows.chord(k);
        previousHeld = false;
        previousStep = dh;
        previousSine = sine;
        // A car standing still has no path to bend: no point.
        if (d == 0.0f) return 1;
        curve.add(
            {x, rowOfBranchless(949, 0.035, lateralAcceleration(rows, k, sine, d, frameFactor))});
        return 1;
      });
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
  auto dv = [](const auto& rows, int k) { return speedOf(rows, k) - speedOf(rows, k - 1); };
  int k0 = -1;
  if (multiLapMode(c)) {
    for (int k = lap.first + 1; k < lap.end && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
  } else {
    k0 = lap.first + c.view.scrollOffset;
  }
  c.canvas.moveTo(xOf(c, k0, slot), rowOf(150, 150, dv(ClampedRows(c.stores), k0)));
  PolylineBatch curve(c.canvas);
  double factor = fullStep;
  const LapAxis axis(c, slot);
  walkAxis(c, axis, multiLapMode(c) ? k0 : k0 + 1, lap.end, [&](const auto& rows, int k, int x) {
    if (x > kPlotWidth) return 0;
    float step = dv(rows, k);
    if (step == 0.0f) {
      factor = halfStep;
      return 1;
    }
    // The logged speed step must agree with the replay's distances within 0.5 m/s².
    double telemetryAcceleration = step / 3.6 * fps * 2000.0;
    std::int64_t replayAcceleration =
        ((static_cast<std::int64_t>(rows.distance(k)) - rows.distance(k - 1)) -
         (static_cast<std::int64_t>(rows.distance(k - 1)) - rows.distance(k - 2))) *
        fps * fps;
    if (std::abs(static_cast<std::int64_t>(truncToIntBranchless(
            telemetryAcceleration - static_cast<double>(replayAcceleration)))) < 1000) {
      curve.add({x, rowOfBranchless(150, 150 * factor, step)});
    }
    factor = fullStep;
    return 1;
  });
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
