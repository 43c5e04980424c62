// Engine channels with rules of their own: rpm with the engine-damage bars, water, oil.
#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"

namespace lv {
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
  const LapAxis axis(c, slot);
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
  PlotStyle style{514, 364.0 / c.stores.maxRpm, ColourSet::kPrimary, false,
                  [](const GraphContext& g, int k, const LapRange&) {
                    return static_cast<double>(telemetryAt(g, k).f[6]);
                  }};
  plotChannel(c, style);
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
  const LapAxis axis(c, slot);
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

void registerEngineChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kRpm, &plotRpm);
  commands.set(ChannelId::kOil, &plotOil);
  commands.set(ChannelId::kWater, &plotWater);
}

}  // namespace lv
