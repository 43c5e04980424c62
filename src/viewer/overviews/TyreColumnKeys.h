#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "viewer/load/ViewerStores.h"

namespace lv {

// The values the rows of the tread traces are worked out from.
inline float treadDifference(const TelemetryRecord& t, int wheel) {
  int g = 12 + 3 * wheel;
  return t.f[g + 2] - t.f[g];
}
inline double centreAgainstEdges(const TelemetryRecord& t, int wheel) {
  int g = 12 + 3 * wheel;
  return t.f[g + 1] - (t.f[g] + t.f[g + 2]) / 2.0;
}

// Smallest and largest of one value over some samples, NaN left out and noted.
template <typename T>
struct KeyRange {
  T low;
  T high;
  bool nan = false;
};

// What the tyre picture's rows of one pixel column fall with, over the column's samples, per
// wheel: the row of a tread difference, of a centre-against-edges value and of a mean
// temperature each falls as the value rises, so the extremes of the values give the extremes
// of the rows. Worked out in one pass over the samples, four wheels at a time.
struct TyreColumnKeys {
  std::array<KeyRange<float>, 4> across;   // f[g + 2] - f[g]
  std::array<KeyRange<double>, 4> centre;  // f[g + 1] - (f[g] + f[g + 2]) / 2.0
  std::array<KeyRange<float>, 4> mean;     // the wheel's mean tread temperature
};

TyreColumnKeys tyreColumnKeys(const TelemetryRecord* telemetry, const WheelTemps* means,
                              std::size_t count);

// The same in plain arithmetic, one value at a time: what the pass above must equal.
TyreColumnKeys tyreColumnKeysPlain(const TelemetryRecord* telemetry, const WheelTemps* means,
                                   std::size_t count);

}  // namespace lv
