#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "viewer/load/Truncate.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// A stretch of samples counted for the quick overview: samples at full throttle, on the
// throttle and on the brake, and the extremes of the speed in tenths of km/h.
struct StretchCounts {
  std::int64_t fullThrottle = 0, onThrottle = 0, onBrake = 0;
  std::int32_t minimumSpeed = 100000000, maximumSpeed = 0;

  void add(const TelemetryRecord& t) {
    float throttle = t.f[TelemetryRecord::kThrottle];
    fullThrottle += throttle >= 0.99 ? 1 : 0;
    onThrottle += throttle >= 0.01 ? 1 : 0;
    onBrake += t.f[TelemetryRecord::kBrake] >= 0.01 ? 1 : 0;
    std::int32_t speed = truncToInt(t.f[TelemetryRecord::kSpeed] * 10.0f);
    minimumSpeed = std::min(minimumSpeed, speed);
    maximumSpeed = std::max(maximumSpeed, speed);
  }
  // This stretch followed by the next one, as one.
  void follow(const StretchCounts& next);
};

// What the one pass over a load's new samples finds for the steps after it, besides the
// derived values it writes into the stores: the samples where a lap ends (the distance falls
// back by more than 20 m to the next sample), the counts of the stretches between them, and
// the largest distance of every block of samples, by which the quarter splits skip whole
// blocks. Each step reads from the stores what the sweep does not cover.
struct SampleSweep {
  static constexpr int kDistanceBlock = 64;

  int first = 0;  // the load's first and end sample
  int end = 0;
  std::vector<int> lapEnds;
  // Stretch i ends at lapEnds[i] and starts after lapEnds[i - 1] (at `first` for i = 0); one
  // more stretch holds the samples after the last lap end.
  std::vector<StretchCounts> stretches;
  // Block b holds samples first + kDistanceBlock x b on.
  std::vector<std::int32_t> distanceMaxima;

  // The counts of the samples first .. end - 1 when a stretch covers exactly them.
  const StretchCounts* countsOf(int firstSample, int endSample) const;
  // The first sample from `from` on, before `to`, whose distance exceeds `distance`, or `to`.
  int firstBeyond(const ViewerStores& stores, int from, int to, double distance) const;
};

// Told of every block of a load's new samples as soon as their derived values are in the
// stores, on the thread that derived them and while the block is at hand: a later step that
// reads the same samples (the tyre picture of a first load) takes them then. `part` is 1 for
// the samples of the second half of a load shared out to both cores, else 0.
class SampleObserver {
 public:
  virtual ~SampleObserver() = default;
  virtual void derived(int part, int from, int to) = 0;
};

inline bool lapEndsAt(const ViewerStores& stores, int s) {
  constexpr std::int32_t kLapEndDrop = 40000;  // 20 m
  return static_cast<std::int64_t>(stores.frameDistance(s)) - stores.frameDistance(s + 1) >
         kLapEndDrop;
}

}  // namespace lv
