// Engine channels with rules of their own: rpm with the engine-damage bars, water, oil.
#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/PlotKernel.h"

namespace lv {
namespace {

int oilPart(const GraphContext& c, int k) {
  return frameAt(c, k).f[FrameRecord::kEngineTemps] % 128;
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
  addBarStrokes(bars, c, axis, lap.first, lap.end,
                [](const auto& rows, int k, int x, StrokeBatch& strokes) {
                  std::int32_t word = rows.frame(k, FrameRecord::kStatusWord);
                  int d = word == INT32_MIN ? 0 : word / 16777216;
                  strokes.add({x, 2, 2 + d});
                  strokes.add({x - 1, 2, 2 + d});
                });
}

void plotRpm(GraphContext& c) {
  takeAxisSpan(c);
  drawDamageBars(c);
  // Without telemetry there is no largest rpm to scale by: no curve.
  if (c.stores.maxRpm == 0.0f) return;
  plotCurves(c, {514, 364.0 / c.stores.maxRpm}, [](const auto& rows, int k, const LapRange&) {
    return static_cast<double>(rows.telemetry(k, 6));
  });
}

// The temperature word's parts.
template <typename Rows>
int oilPartOf(const Rows& rows, int k) {
  return rows.frame(k, FrameRecord::kEngineTemps) % 128;
}
template <typename Rows>
int waterPartOf(const Rows& rows, int k) {
  return rows.frame(k, FrameRecord::kEngineTemps) / 128 % 128;
}

// One curve of the temperature channels: points only where `valid`, started as the
// channel's first-point rule says. value(rows, k) and valid(rows, k).
template <typename Value, typename Valid>
struct TemperatureCurve {
  double baseline;
  Value value;
  Valid valid;
  bool unconditionalFirstPoint;  // single-lap mode: the offset sample, valid or not
};
// Spelled out for compilers that do not deduce an aggregate's arguments themselves.
template <typename Value, typename Valid>
TemperatureCurve(double, Value, Valid, bool) -> TemperatureCurve<Value, Valid>;

template <typename Curve>
void drawTemperatureCurve(GraphContext& c, const Curve& curve, int slot, const LapRange& lap,
                          bool& moved) {
  const LapAxis axis(c, slot);
  const ClampedRows clamped(c.stores);
  auto moveTo = [&](int k) {
    c.canvas.moveTo(axis.x(k), rowOf(curve.baseline, 3, curve.value(clamped, k)));
    moved = true;
  };
  int next;
  if (multiLapMode(c)) {
    int k0 = -1;
    for (int k = lap.first; k < lap.end && k0 < 0; ++k)
      if (distanceAt(c, k) > c.view.scrollOffset) k0 = k;
    if (k0 < 0) return;
    for (int k = k0; k < k0 + 32; ++k)
      if (curve.valid(clamped, k)) moveTo(k);
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
  addCurvePoints(
      points, c, axis, next, lap.end,
      [&](const auto& rows, int k) {
        return unroundedRow(curve.baseline, 3, curve.value(rows, k));
      },
      [&](const auto& rows, int k) { return curve.valid(rows, k); });
}

constexpr auto kOilPartAboveOne = [](const auto& rows, int k) { return oilPartOf(rows, k) > 1; };

constexpr TemperatureCurve kOilPressure{
    294, [](const auto& rows, int k) { return rows.frame(k, FrameRecord::kOilPressure); },
    kOilPartAboveOne, true};
constexpr TemperatureCurve kOilTemperature{
    514, [](const auto& rows, int k) { return oilPartOf(rows, k); }, kOilPartAboveOne, false};
constexpr TemperatureCurve kWaterTemperature{
    514, [](const auto& rows, int k) { return waterPartOf(rows, k); },
    [](const auto& rows, int k) { return oilPartOf(rows, k) != 0; }, false};

template <typename... Curves>
void plotTemperatures(GraphContext& c, ColourSet colours, const Curves&... curves) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  bool moved = false;
  for (int slot = 0; slot < c.stores.selectedCount; ++slot) {
    LapRange lap = lapInSlot(c, slot);
    if (lapInactive(c, lap)) continue;
    PenScope pen(c.canvas, lapColour(colours, slot));
    (drawTemperatureCurve(c, curves, slot, lap, moved), ...);
  }
}

void plotOil(GraphContext& c) {
  plotTemperatures(c, ColourSet::kPrimary, kOilPressure, kOilTemperature);
}
void plotWater(GraphContext& c) {
  plotTemperatures(c, ColourSet::kSecondary, kWaterTemperature);
}

}  // namespace

void registerEngineChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kRpm, &plotRpm);
  commands.set(ChannelId::kOil, &plotOil);
  commands.set(ChannelId::kWater, &plotWater);
}

}  // namespace lv
