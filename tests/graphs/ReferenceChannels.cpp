// The channel plots as the viewer drew them before the redraw was made fast: every point
// through the channel's value function, the clamped store accessors and the plain x mapping,
// one at a time. Kept unchanged as the measure the fast plots must meet to the last point:
// the exactness tests draw every channel both ways and compare the drawing calls.
// (A frozen copy: only names are changed, so that it can stand beside the viewer's own.)
#include "ReferenceChannels.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/Truncate.h"
#include "viewer/shell/TrackMap.h"

namespace lv::reference {

// The x mapping of xOf for the lap in one slot, worked out once for all the points of a
// curve: a redraw maps every sample of four laps for every channel.
class RefLapAxis {
 public:
  RefLapAxis(const GraphContext& c, int slot)
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

 private:
  const GraphContext& c_;
  bool byDistance_;
  int first_;
  int count_;
  int offset_;
  float zoom_;
};
// The standard channel plot: one curve per chosen lap (or the radio slot's lap).
struct RefPlotStyle {
  double baseline;  // y0: pixel row of value 0
  double scale;     // pixels per unit; negative draws larger values lower
  ColourSet colours = ColourSet::kPrimary;
  bool radioSlotOnly = false;
  double (*value)(const GraphContext&, int k, const LapRange& lap) = nullptr;
  // A point this refuses is not drawn; the pen stays where it is.
  bool (*skipPoint)(const GraphContext&, int k) = nullptr;
  // A lap this refuses draws nothing.
  bool (*skipLap)(const GraphContext&, const LapRange& lap) = nullptr;
};
void refPlotChannel(GraphContext& c, const RefPlotStyle& style);

int refXOf(const GraphContext& c, int k, int slot) {
  return RefLapAxis(c, slot).x(k);
}

namespace {

// First point of a lap: single-lap mode takes the sample at the scroll offset; multi-lap mode
// the first sample further along than the offset (-1: none).
int refFirstPoint(const GraphContext& c, int first, int end) {
  if (!multiLapMode(c)) return first + c.view.scrollOffset;
  for (int k = first; k < end; ++k)
    if (distanceAt(c, k) > c.view.scrollOffset) return k;
  return -1;
}

void plotLap(GraphContext& c, const RefPlotStyle& style, int slot) {
  LapRange lap = lapInSlot(c, slot);
  if (style.skipLap != nullptr && style.skipLap(c, lap)) return;
  PenScope pen(c.canvas, lapColour(style.colours, slot));
  int k0 = refFirstPoint(c, lap.first, lap.end);
  if (k0 < 0) return;
  auto row = [&](int k) { return rowOf(style.baseline, style.scale, style.value(c, k, lap)); };
  RefLapAxis axis(c, slot);
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

void refPlotChannel(GraphContext& c, const RefPlotStyle& style) {
  if (style.radioSlotOnly) {
    takeAxisSpan(c);
    plotLap(c, style, c.stores.radioSlot);
    return;
  }
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) plotLap(c, style, slot);
}

namespace standard {

// Channels drawn by the standard plot with their own value, baseline, scale and colours.

namespace {

struct ZeroLine {
  int x0, y0, x1, y1;
};

struct TableChannel {
  ChannelId id;
  RefPlotStyle style;
  std::optional<ZeroLine> zeroLine = std::nullopt;
  bool dashedZeroLine = false;
};

using Lap = LapRange;

double tel(const GraphContext& c, int k, int field) {
  return telemetryAt(c, k).f[field];
}
double frame(const GraphContext& c, int k, int field) {
  return frameAt(c, k).f[field];
}

bool lapInactive(const GraphContext& c, const Lap& lap) {
  return frameAt(c, lap.first).f[FrameRecord::kLapActive] == 0;
}
bool noSuspension(const GraphContext& c, const Lap& lap) {
  const FrameRecord& f = frameAt(c, lap.first);
  return f.f[12] == 0 && f.f[15] == 0;
}
bool noRpmScale(const GraphContext& c, const Lap&) {
  return c.stores.maxRpm == 0.0f;
}
// Power is drawn for every chosen lap or for none: not when the first chosen lap starts
// standing still.
bool firstLapStandsStill(const GraphContext& c, const Lap&) {
  int firstLap = c.stores.selectedLaps[0];
  if (firstLap < 0 || firstLap >= kLapCapacity) firstLap = 0;
  return telemetryAt(c, c.stores.lapStart[static_cast<std::size_t>(firstLap)])
             .f[TelemetryRecord::kSpeed] == 0.0f;
}

constexpr TableChannel kTable[] = {
    {ChannelId::kSpeed,
     {824, 2.22, ColourSet::kSecondary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 7); },
      // Repeated telemetry over several frames is drawn as one straight segment.
      [](const GraphContext& c, int k) {
        return telemetryAt(c, k).f[7] == telemetryAt(c, k - 1).f[7];
      }}},
    {ChannelId::kThrottle,
     {632, 120, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 4); }}},
    {ChannelId::kBrake,
     {754, 120, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 5); }}},
    {ChannelId::kSteering,
     {74, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 3); }},
     ZeroLine{0, 74, 1817, 74}},
    {ChannelId::kGear,
     {507, 5, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 2); }}},
    {ChannelId::kClutch,
     {313, -0.00006, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 20); }}},
    {ChannelId::kReplayRpm,
     {514, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        std::int64_t raw = frameAt(c, k).f[FrameRecord::kReplayRpm];
        return static_cast<double>(raw * raw) * 0.012 * 364.0 / c.stores.maxRpm;
      },
      nullptr, noRpmScale}},
    {ChannelId::kReplaySpeed,
     {824, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap& lap) {
        double step = distanceAt(c, k) - static_cast<double>(distanceAt(c, k - 1));
        return step * c.stores.lapFps[static_cast<std::size_t>(lap.lap)] * 3.6 * 0.00111;
      }}},
    {ChannelId::kTorque,
     {119, 0.25, ColourSet::kSecondary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 8); }}},
    {ChannelId::kPower,
     {119, 0.27, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 8) * tel(c, k, 6) / 9551.0; },
      nullptr, firstLapStandsStill}},
    {ChannelId::kVertForce,
     {424, 300, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 9); }}},
    {ChannelId::kLongForce,
     {500, -3000, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 11); }}},
    {ChannelId::kLatForce,
     {424, 60, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 10); }},
     ZeroLine{0, 424, 1817, 419}},
    {ChannelId::kTotalAcceleration,
     {614, 0.05, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const TelemetryRecord& t = telemetryAt(c, k);
        std::int64_t lateral = truncToInt(1000.0 * t.f[10]);
        std::int64_t longitudinal = truncToInt(50000.0 * (t.f[11] - 0.064));
        return static_cast<double>((lateral < 0 ? -lateral : lateral) +
                                   (longitudinal < 0 ? -longitudinal : longitudinal));
      },
      nullptr, lapInactive}},
    {ChannelId::kLine,
     {864, 0.075, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 4); }},
     std::nullopt,
     true},
    {ChannelId::kSqueal,
     {874, 2, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 10); }, nullptr,
      lapInactive}},
    {ChannelId::kRoll,
     {930, -1.5, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 9); }},
     ZeroLine{0, 210, 1817, 210}},
    {ChannelId::kPitch,
     {360, -1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 8); }},
     ZeroLine{0, 360, 1817, 360}},
    {ChannelId::kHeight,
     {879, 0.7, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 5); }},
     ZeroLine{0, 624, 1817, 624}},
    {ChannelId::kSuspensionRearFront,
     {589, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const FrameRecord& f = frameAt(c, k);
        return static_cast<double>((f.f[14] + f.f[15]) - (f.f[12] + f.f[13]));
      },
      nullptr, noSuspension}},
    {ChannelId::kSuspensionLeftRight,
     {704, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const FrameRecord& f = frameAt(c, k);
        return static_cast<double>((f.f[13] + f.f[15]) - (f.f[12] + f.f[14]));
      },
      nullptr, noSuspension}},
};

void drawTableChannel(GraphContext& c, const TableChannel& channel) {
  if (channel.zeroLine) {
    const ZeroLine& z = *channel.zeroLine;
    drawZeroLine(c, z.x0, z.y0, z.x1, z.y1);
  }
  if (channel.dashedZeroLine) {
    PenScope pen(c.canvas, kZeroLineColour);
    for (int j = 0; j < 18; ++j) {
      c.canvas.moveTo(100 * j, static_cast<int>(channel.style.baseline));
      c.canvas.lineTo(100 * j + 50, static_cast<int>(channel.style.baseline));
    }
  }
  refPlotChannel(c, channel.style);
}

template <std::size_t I>
void plotTableChannel(GraphContext& c) {
  drawTableChannel(c, kTable[I]);
}

template <std::size_t... I>
void registerTable(ChannelCommands& commands, std::index_sequence<I...>) {
  (commands.set(kTable[I].id, &plotTableChannel<I>), ...);
}

// Four curves per lap, one per wheel: the outer loop runs over the wheels.
void plotSuspension(GraphContext& c) {
  static constexpr RefPlotStyle kWheels[] = {
      {874, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 12); }, nullptr,
       noSuspension},
      {874, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 13); }, nullptr,
       noSuspension},
      {994, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 14); }, nullptr,
       noSuspension},
      {994, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 15); }, nullptr,
       noSuspension},
  };
  for (const RefPlotStyle& wheel : kWheels) refPlotChannel(c, wheel);
}

}  // namespace

void refRegisterStandardChannels(ChannelCommands& commands) {
  registerTable(commands, std::make_index_sequence<std::size(kTable)>());
  commands.set(ChannelId::kSuspension, &plotSuspension);
}

}  // namespace standard

namespace engine {

// Engine channels with rules of their own: rpm with the engine-damage bars, water, oil.

namespace {

int oilPart(const GraphContext& c, int k) {
  return frameAt(c, k).f[FrameRecord::kEngineTemps] % 128;
}
int waterPart(const GraphContext& c, int k) {
  return frameAt(c, k).f[FrameRecord::kEngineTemps] / 128 % 128;
}
bool lapInactive(const GraphContext& c, const LapRange& lap) {
  return frameAt(c, lap.first).f[FrameRecord::kLapActive] == 0;
}

// Engine-damage bars of the radio slot's lap along the top edge, two pixels wide.
void drawDamageBars(GraphContext& c) {
  int slot = c.stores.radioSlot;
  LapRange lap = lapInSlot(c, slot);
  PenScope pen(c.canvas, kBlack);
  StrokeBatch bars(c.canvas);
  const RefLapAxis axis(c, slot);
  for (int k = lap.first; k < lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    std::int32_t word = frameAt(c, k).f[FrameRecord::kStatusWord];
    int d = word == INT32_MIN ? 0 : word / 16777216;
    bars.add({x, 2, 2 + d});
    bars.add({x - 1, 2, 2 + d});
  }
}

void plotRpm(GraphContext& c) {
  takeAxisSpan(c);
  drawDamageBars(c);
  // Without telemetry there is no largest rpm to scale by: no curve.
  if (c.stores.maxRpm == 0.0f) return;
  RefPlotStyle style{514, 364.0 / c.stores.maxRpm, ColourSet::kPrimary, false,
                     [](const GraphContext& g, int k, const LapRange&) {
                       return static_cast<double>(telemetryAt(g, k).f[6]);
                     }};
  refPlotChannel(c, style);
}

// One curve of the temperature channels: points only where `valid`, started as the
// channel's first-point rule says.
struct TemperatureCurve {
  double baseline;
  int (*value)(const GraphContext&, int k);
  bool (*valid)(const GraphContext&, int k);
  bool unconditionalFirstPoint;  // single-lap mode: the offset sample, valid or not
};

void drawTemperatureCurve(GraphContext& c, const TemperatureCurve& curve, int slot,
                          const LapRange& lap, bool& moved) {
  const RefLapAxis axis(c, slot);
  auto point = [&](int k) {
    return std::pair{axis.x(k), rowOf(curve.baseline, 3, curve.value(c, k))};
  };
  auto moveTo = [&](int k) {
    auto [x, y] = point(k);
    c.canvas.moveTo(x, y);
    moved = true;
  };
  int next;
  if (multiLapMode(c)) {
    int k0 = -1;
    for (int k = lap.first; k < lap.end && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
    for (int k = k0; k < k0 + 32; ++k)
      if (curve.valid(c, k)) moveTo(k);
    next = k0 + 32;
  } else if (curve.unconditionalFirstPoint) {
    int k0 = lap.first + c.view.scrollOffset;
    moveTo(k0);
    next = k0 + 1;
  } else {
    int start = lap.first + c.view.scrollOffset;
    next = start + 32;
    for (int k = start; k < start + 32; ++k) {
      if (oilPart(c, k) > 1) {
        moveTo(k);
        next = k + 1;
        break;
      }
    }
  }
  // Without a first point the curve goes on from where the drawing context stands.
  if (!moved) {
    c.canvas.moveTo(0, 0);
    moved = true;
  }
  PolylineBatch points(c.canvas);
  for (int k = next; k < lap.end; ++k) {
    auto [x, y] = point(k);
    if (x > kPlotWidth) break;
    if (curve.valid(c, k)) points.add({x, y});
  }
}

constexpr TemperatureCurve kOilPressure{
    294, [](const GraphContext& c, int k) { return frameAt(c, k).f[FrameRecord::kOilPressure]; },
    [](const GraphContext& c, int k) { return oilPart(c, k) > 1; }, true};
constexpr TemperatureCurve kOilTemperature{
    514, oilPart, [](const GraphContext& c, int k) { return oilPart(c, k) > 1; }, false};
constexpr TemperatureCurve kWaterTemperature{
    514, waterPart, [](const GraphContext& c, int k) { return oilPart(c, k) != 0; }, false};

void plotTemperatures(GraphContext& c, ColourSet colours,
                      std::initializer_list<const TemperatureCurve*> curves) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  bool moved = false;
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) {
    LapRange lap = lapInSlot(c, slot);
    if (lapInactive(c, lap)) continue;
    PenScope pen(c.canvas, lapColour(colours, slot));
    for (const TemperatureCurve* curve : curves) drawTemperatureCurve(c, *curve, slot, lap, moved);
  }
}

void plotOil(GraphContext& c) {
  plotTemperatures(c, ColourSet::kPrimary, {&kOilPressure, &kOilTemperature});
}
void plotWater(GraphContext& c) {
  plotTemperatures(c, ColourSet::kSecondary, {&kWaterTemperature});
}

}  // namespace

void refRegisterEngineChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kRpm, &plotRpm);
  commands.set(ChannelId::kOil, &plotOil);
  commands.set(ChannelId::kWater, &plotWater);
}

}  // namespace engine

namespace dynamics {

// Vehicle-dynamics channels with rules of their own: the windowed heading and yaw channels,
// oversteering, and the accelerations computed from speed and path.

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
    const RefLapAxis axis(c, slot);
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
  c.canvas.moveTo(refXOf(c, k0, slot), firstRow);
  PolylineBatch curve(c.canvas);
  float previousStep = 0.0f;
  bool previousHeld = false;
  int following = 0;
  const RefLapAxis axis(c, slot);
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
  c.canvas.moveTo(refXOf(c, k0, slot), rowOf(150, 150, dv(k0)));
  PolylineBatch curve(c.canvas);
  double factor = fullStep;
  const RefLapAxis axis(c, slot);
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

void refRegisterDynamicsChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kDirection, &plotDirection);
  commands.set(ChannelId::kNoise, &plotNoise);
  commands.set(ChannelId::kHeadingAcceleration, &plotYawAcceleration);
  commands.set(ChannelId::kOversteering, &plotOversteering);
  commands.set(ChannelId::kLatAcceleration, &plotLateralAcceleration);
  commands.set(ChannelId::kAcceleration, &plotAcceleration);
}

}  // namespace dynamics

namespace timedifference {

// "t Differenz": how many frames the last chosen lap needed more or less than the first to
// reach each distance of the first lap.

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

void refRegisterTimeDifference(ChannelCommands& commands) {
  ChannelCommand command;
  command.plot = &plotTimeDifference;
  command.acceptsPress = &sameFrameRate;
  command.cursorBottom = 1030;
  commands.set(ChannelId::kTimeDifference, command);
}

}  // namespace timedifference

namespace tyres {

// The tyre channels: one curve per wheel, in the wheel colours, for the radio slot's lap only.

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
        const RefLapAxis axis(c, r.slot);
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
    const RefLapAxis axis(c, r.slot);
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
    c.canvas.moveTo(refXOf(c, k0, r.slot), row(k0));
    PolylineBatch curve(c.canvas);
    const RefLapAxis axis(c, r.slot);
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
    c.canvas.moveTo(refXOf(c, k0, r.slot), row(k0));
    next = k0;
  } else {
    k0 = r.lap.first + c.view.scrollOffset;
    c.canvas.moveTo(0, row(k0));
    next = contactPatchShown(c) ? k0 : k0 + 1;
  }
  PolylineBatch curve(c.canvas);
  const RefLapAxis axis(c, r.slot);
  for (int k = next; k < r.lap.end; ++k) {
    int x = axis.x(k);
    if (x > kPlotWidth) break;
    curve.add({x, row(k)});
  }
}

// Two rows of status bars of a wheel from the status word's 2-bit fields.
void drawStatusBars(GraphContext& c, const RadioLap& r, int wheel) {
  StrokeBatch bars(c.canvas);
  const RefLapAxis axis(c, r.slot);
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

void refRegisterTyreChannels(ChannelCommands& commands) {
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

}  // namespace tyres

namespace map {

constexpr Rgb kMapColour{200, 200, 200};

void refMapPosition(const GraphContext& c, int s, double& x, double& y) {
  const TelemetryRecord& t = telemetryAt(c, s);
  // A map without extent is a single point.
  double scale = c.view.mapScale;
  double dx = scale != 0.0f ? (t.f[TelemetryRecord::kMapX] - c.stores.mapBounds[0]) / scale : 0.0;
  double dy = scale != 0.0f ? (t.f[TelemetryRecord::kMapY] - c.stores.mapBounds[1]) / scale : 0.0;
  x = dx + c.view.mapOffsetX;
  y = c.view.mapOffsetY - dy;
}

MapPoint refMapPoint(const GraphContext& c, int s) {
  double x, y;
  refMapPosition(c, s, x, y);
  return {truncToInt(x), truncToInt(y)};
}

namespace {

void plotMap(GraphContext& c) {
  PenScope pen(c.canvas, kMapColour);
  LapRange lap = lapInSlot(c, 0);
  MapPoint start = refMapPoint(c, lap.first);
  c.canvas.moveTo(start.x, start.y);
  for (int s = lap.first + 1; s < lap.end; ++s) {
    MapPoint p = refMapPoint(c, s);
    c.canvas.lineTo(p.x, p.y);
  }
}

}  // namespace

void refRegisterTrackMap(ChannelCommands& commands) {
  commands.set(ChannelId::kMap, &plotMap);
}

}  // namespace map

void registerReferenceChannels(ChannelCommands& commands) {
  standard::refRegisterStandardChannels(commands);
  engine::refRegisterEngineChannels(commands);
  dynamics::refRegisterDynamicsChannels(commands);
  timedifference::refRegisterTimeDifference(commands);
  tyres::refRegisterTyreChannels(commands);
  map::refRegisterTrackMap(commands);
}

}  // namespace lv::reference
