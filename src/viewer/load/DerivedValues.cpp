#include "viewer/load/DerivedValues.h"

#include <algorithm>
#include <cmath>

namespace lv {
namespace {

constexpr double kDegreesPerRadian = 57.29577957855229;

void updateMapBounds(ViewerStores& stores, const TelemetryRecord& t) {
  auto& b = stores.mapBounds;
  b[0] = std::min(b[0], t.f[TelemetryRecord::kMapX]);
  b[1] = std::min(b[1], t.f[TelemetryRecord::kMapY]);
  b[2] = std::max(b[2], t.f[TelemetryRecord::kMapX]);
  b[3] = std::max(b[3], t.f[TelemetryRecord::kMapY]);
}

void deriveHeading(ViewerStores& stores, int s) {
  const TelemetryRecord& ahead = stores.telemetryTable[static_cast<std::size_t>(s + 4)];
  const TelemetryRecord& behind = stores.telemetryTable[static_cast<std::size_t>(s - 4)];
  float dx = ahead.f[TelemetryRecord::kMapX] - behind.f[TelemetryRecord::kMapX];
  float dy = ahead.f[TelemetryRecord::kMapY] - behind.f[TelemetryRecord::kMapY];
  float d = std::sqrt(dx * dx + dy * dy);
  if (dx == 0.0f) d = dy;
  if (dy == 0.0f) d = dx;
  stores.trackDistanceStep[static_cast<std::size_t>(s)] = d;
  // A zero-length chord has no direction: it takes the extrapolated heading like a NaN.
  double heading = std::nan("");
  if (d != 0.0f) {
    double a = std::asin(static_cast<double>(dy / d)) * kDegreesPerRadian;
    heading =
        ahead.f[TelemetryRecord::kMapX] >= behind.f[TelemetryRecord::kMapX] ? 90.0 + a : 270.0 - a;
    heading = heading <= 90.0 ? heading + 270.0 : heading - 90.0;
  }
  if (heading < -700.0 || std::isnan(heading)) {
    heading = 2.0 * stores.headingTable[static_cast<std::size_t>(s - 1)] -
              stores.headingTable[static_cast<std::size_t>(s - 2)];
  }
  stores.headingTable[static_cast<std::size_t>(s)] = static_cast<float>(heading);
}

void deriveTemperatures(ViewerStores& stores, int s) {
  std::size_t row = static_cast<std::size_t>(s);
  const TelemetryRecord& t = stores.telemetryTable[row];
  const ContactPatchRecord& patch = stores.contactPatchTable[row];
  for (int w = 0; w < 4; ++w) {
    float sum = t.f[12 + 3 * w] + t.f[13 + 3 * w] + t.f[14 + 3 * w];
    stores.tyreTempAvg[row].w[w] = static_cast<float>(sum / 3.0f - 273.15);
  }
  if (patch.f[0] >= 200.0f) {
    for (int w = 0; w < 4; ++w) {
      float sum = patch.f[3 * w] + patch.f[3 * w + 1] + patch.f[3 * w + 2];
      stores.contactPatchAvg[row].w[w] = static_cast<float>(sum / 3.0f - 273.15);
    }
  }
  for (int column = 0; column < 3; ++column) {
    for (int w = 0; w < 4; ++w) {
      float value = t.f[12 + 3 * w + column];
      if (column == 0 && value == 0.0f) continue;
      stores.tyreTempMin[static_cast<std::size_t>(column)] =
          std::min(stores.tyreTempMin[static_cast<std::size_t>(column)], value);
      stores.tyreTempMax[static_cast<std::size_t>(column)] =
          std::max(stores.tyreTempMax[static_cast<std::size_t>(column)], value);
    }
  }
}

}  // namespace

void deriveSampleValues(ViewerStores& stores, int s0, int end) {
  for (int s = s0; s < end; ++s) {
    std::size_t row = static_cast<std::size_t>(s);
    const TelemetryRecord& t = stores.telemetryTable[row];
    updateMapBounds(stores, t);
    if (s > s0 + 4 && s < end - 4) deriveHeading(stores, s);
    stores.maxRpm = std::max(stores.maxRpm, t.f[TelemetryRecord::kRpm]);
    deriveTemperatures(stores, s);
    stores.maxFrameDistance = std::max(stores.maxFrameDistance, stores.frameTable[row].f[0]);
  }
}

}  // namespace lv
