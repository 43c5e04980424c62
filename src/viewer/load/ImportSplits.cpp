#include "viewer/load/ImportSplits.h"

#include <algorithm>

#include "viewer/load/Truncate.h"

namespace lv {
namespace {

struct LapRows {
  int first;  // the lap's first sample
  int end;    // one past its last sample
  int fps;
};

// Frames from the line to the lap's first sample, less that sample's row: the first step
// of the lap tells how far behind the line the first sample lies. A lap that stands still
// at its start gives no step to measure with; it is then taken to start on the line.
double lineOffset(const ViewerStores& stores, const LapRows& lap) {
  const int s0 = lap.first + 1;
  const double before = stores.frameDistance(lap.first);
  const double step = stores.frameDistance(s0) - before;
  return (step != 0.0 ? before / step : 0.0) - s0;
}

// Milliseconds from the line to where the lap passes `mark`, or 0 when it never does
// inside its own samples.
std::int32_t splitAt(const ViewerStores& stores, const LapRows& lap, double offset, double mark) {
  for (int s = lap.first + 2; s < lap.end; ++s) {
    const double at = stores.frameDistance(s);
    if (at <= mark) continue;
    // A sample that did not move past an already passed mark has no fraction to give.
    const double step = at - stores.frameDistance(s - 1);
    const double r = step != 0.0 ? (at - mark) / step : 0.0;
    return truncToInt((s + 1 + offset - (1.0 - r)) * 1000.0 / lap.fps);
  }
  return 0;
}

}  // namespace

void computeImportSplits(ViewerStores& stores, int firstLap) {
  const double length =
      stores.trackLength > 0 ? stores.trackLength : static_cast<double>(stores.maxFrameDistance);
  for (int lap = std::max(firstLap, 0); lap < std::min(stores.lapCount, kLapCapacity); ++lap) {
    const std::size_t at = static_cast<std::size_t>(lap);
    const LapRows rows{std::clamp(stores.lapStart[at], 0, kSampleCapacity),
                       std::clamp(stores.lapStart[at + 1], 0, kSampleCapacity), stores.lapFps[at]};
    std::int32_t split[4] = {0, 0, 0, 0};
    if (rows.fps > 0 && rows.end > rows.first + 1) {
      const double offset = lineOffset(stores, rows);
      for (int q = 1; q <= 3; ++q) split[q] = splitAt(stores, rows, offset, length * q / 4.0);
    }
    // Differences of saturated splits of a degenerate lap wrap instead of overflowing.
    auto difference = [](std::int64_t a, std::int64_t b) {
      return static_cast<std::int32_t>(a - b);
    };
    std::int32_t* quarters = &stores.lapSectorTimes[5 * at + 2];
    quarters[0] = split[1];
    quarters[1] = difference(split[2], split[1]);
    quarters[2] = difference(split[3], split[2]);
    quarters[3] = difference(stores.lapTime[at], split[3]);
  }
}

}  // namespace lv
