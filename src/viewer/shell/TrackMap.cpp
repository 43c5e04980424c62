#include "viewer/shell/TrackMap.h"

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/PlotKernel.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr Rgb kMapColour{200, 200, 200};

}  // namespace

void fitTrackMap(GraphContext& c, MapFrameVariant variant) {
  const auto& bounds = c.stores.mapBounds;
  const double width = kPlotWidth;
  const double height = kReferenceBaseline;
  double spanX = variant == MapFrameVariant::kLoad ? 1970.0 : width;
  double bottom = variant == MapFrameVariant::kLoad ? 918.0 : height;
  double dx = static_cast<double>(bounds[2]) - bounds[0];
  double dy = static_cast<double>(bounds[3]) - bounds[1];
  double a = dx / width;
  double b = dy / height;
  double scale = dx / spanX;
  double offsetX = 0.0;
  double offsetY = bottom;
  if (b > scale) {
    scale = b;
    offsetX = width - (width * a / b + width) / 2;
  } else if (a != 0.0) {
    offsetY = (height * b / a + height) / 2;
  }
  c.view.mapScale = static_cast<float>(scale);
  c.view.mapOffsetX = static_cast<float>(offsetX);
  c.view.mapOffsetY = static_cast<float>(offsetY);
}

namespace {

// The map position of sample s, as mapPosition gives it, from the rows of a rule.
template <typename Rows>
void mapPositionOf(const GraphContext& c, const Rows& rows, int s, double& x, double& y) {
  // A map without extent is a single point.
  double scale = c.view.mapScale;
  double dx = scale != 0.0f
                  ? (rows.telemetry(s, TelemetryRecord::kMapX) - c.stores.mapBounds[0]) / scale
                  : 0.0;
  double dy = scale != 0.0f
                  ? (rows.telemetry(s, TelemetryRecord::kMapY) - c.stores.mapBounds[1]) / scale
                  : 0.0;
  x = dx + c.view.mapOffsetX;
  y = c.view.mapOffsetY - dy;
}

}  // namespace

void mapPosition(const GraphContext& c, int s, double& x, double& y) {
  mapPositionOf(c, ClampedRows(c.stores), s, x, y);
}

MapPoint mapPoint(const GraphContext& c, int s) {
  double x, y;
  mapPosition(c, s, x, y);
  return {truncToInt(x), truncToInt(y)};
}

namespace {

void plotMap(GraphContext& c) {
  PenScope pen(c.canvas, kMapColour);
  LapRange lap = lapInSlot(c, 0);
  MapPoint start = mapPoint(c, lap.first);
  c.canvas.moveTo(start.x, start.y);
  PolylineBatch curve(c.canvas);
  for (int s = lap.first + 1; s < lap.end;) {
    int n = std::int64_t{lap.end} - s < kPointBlock ? lap.end - s : kPointBlock;
    withRows(c.stores, s, s + n, [&](const auto& rows) {
      for (int i = 0; i < n; ++i) {
        double x, y;
        mapPositionOf(c, rows, s + i, x, y);
        curve.add({truncToIntBranchless(x), truncToIntBranchless(y)});
      }
    });
    s += n;
  }
}

}  // namespace

void registerTrackMap(ChannelCommands& commands) {
  commands.set(ChannelId::kMap, &plotMap);
}

}  // namespace lv
