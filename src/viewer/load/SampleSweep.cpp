#include "viewer/load/SampleSweep.h"

#include <algorithm>

namespace lv {

void StretchCounts::follow(const StretchCounts& next) {
  fullThrottle += next.fullThrottle;
  onThrottle += next.onThrottle;
  onBrake += next.onBrake;
  minimumSpeed = std::min(minimumSpeed, next.minimumSpeed);
  maximumSpeed = std::max(maximumSpeed, next.maximumSpeed);
}

const StretchCounts* SampleSweep::countsOf(int firstSample, int endSample) const {
  if (firstSample < first || endSample > end || endSample <= firstSample) return nullptr;
  auto at = std::lower_bound(lapEnds.begin(), lapEnds.end(), endSample - 1);
  if (at == lapEnds.end() || *at != endSample - 1) return nullptr;
  std::size_t i = static_cast<std::size_t>(at - lapEnds.begin());
  int start = i == 0 ? first : lapEnds[i - 1] + 1;
  if (start != firstSample || i >= stretches.size()) return nullptr;
  return &stretches[i];
}

int SampleSweep::firstBeyond(const ViewerStores& stores, int from, int to, double distance) const {
  int s = from;
  while (s < to) {
    int block = (s - first) / kDistanceBlock;
    int blockStart = first + block * kDistanceBlock;
    bool whole = s >= first && s == blockStart &&
                 blockStart + kDistanceBlock <= std::min(to, end) &&
                 static_cast<std::size_t>(block) < distanceMaxima.size();
    if (whole && distanceMaxima[static_cast<std::size_t>(block)] <= distance) {
      s += kDistanceBlock;
      continue;
    }
    if (stores.frameDistance(s) > distance) return s;
    ++s;
  }
  return to;
}

}  // namespace lv
