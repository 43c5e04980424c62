#include "viewer/shell/TrackMap.h"

#include "viewer/graphs/GraphCanvas.h"
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

void mapPosition(const GraphContext& c, int s, double& x, double& y) {
  const TelemetryRecord& t = telemetryAt(c, s);
  // A map without extent is a single point.
  double scale = c.view.mapScale;
  double dx = scale != 0.0f ? (t.f[TelemetryRecord::kMapX] - c.stores.mapBounds[0]) / scale : 0.0;
  double dy = scale != 0.0f ? (t.f[TelemetryRecord::kMapY] - c.stores.mapBounds[1]) / scale : 0.0;
  x = dx + c.view.mapOffsetX;
  y = c.view.mapOffsetY - dy;
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
  for (int s = lap.first + 1; s < lap.end; ++s) {
    MapPoint p = mapPoint(c, s);
    c.canvas.lineTo(p.x, p.y);
  }
}

}  // namespace

void registerTrackMap(ChannelCommands& commands) {
  commands.set(ChannelId::kMap, &plotMap);
}

}  // namespace lv
