#include "viewer/load/LapCutting.h"

#include <cstdlib>
#include <vector>

#include "viewer/load/LapTimeText.h"

namespace lv {
namespace {

constexpr std::int32_t kNotValidBit = 32;
constexpr std::int32_t kStartLapBit = 128;
constexpr std::int32_t kClockTolerance = 2000;

struct LapStatus {
  std::int32_t time;
  std::int32_t car;
};

class ReplayLapJudge {
 public:
  ReplayLapJudge(const ViewerStores& stores, const LapSource& source, int firstLap)
      : stores_(stores), source_(source), records_(*source.records), firstLap_(firstLap) {}

  LapStatus judge(int lap, int s) {
    std::int32_t clock = clockAt(s);
    bool first = lap == firstLap_;
    std::int32_t previousClock = previousClock_;
    previousClock_ = clock;
    if (first) return {kLapNotValid, firstRecordFlags() | kNotValidBit};
    if (clock < previousClock) return {kStartLap, firstRecordFlags() | kNotValidBit | kStartLapBit};
    int j = findRecord(s, clock);
    if (j < 0) return {kLapNotValid, source_.carIndex | kNotValidBit};
    std::int32_t flags = records_.flags[static_cast<std::size_t>(j)];
    if ((flags & kNotValidBit) != 0) return {kLapNotValid, flags};
    std::int64_t difference =
        static_cast<std::int64_t>(clock) * 10 - records_.time[static_cast<std::size_t>(j)];
    if (std::llabs(difference) <= kClockTolerance) {
      std::int32_t before = j > 0 ? records_.time[static_cast<std::size_t>(j - 1)] : 0;
      return {records_.time[static_cast<std::size_t>(j)] - before, flags};
    }
    return {kLapNotValid, flags | kNotValidBit};
  }

 private:
  // Race clock in hundredths at sample s; seconds past the clock table read its last entry.
  std::int32_t clockAt(int s) const {
    int second = source_.fps > 0 ? s / source_.fps : 0;
    if (second >= kRaceClockSeconds) second = kRaceClockSeconds - 1;
    return stores_.raceClockBySecond[static_cast<std::size_t>(second)];
  }

  // Flag byte of record number L0 (the load's first lap index); when the list is shorter,
  // the car index alone.
  std::int32_t firstRecordFlags() const {
    if (firstLap_ < records_.count) return records_.flags[static_cast<std::size_t>(firstLap_)];
    return source_.carIndex;
  }

  int findRecord(int s, std::int32_t clock) const {
    std::int64_t threshold = static_cast<std::int64_t>(clock) * 10 - kClockTolerance;
    bool beforeStart = s <= source_.raceStartFrame;
    for (int j = 0; j < records_.count; ++j) {
      if (records_.time[static_cast<std::size_t>(j)] <= threshold) continue;
      bool blockFits = records_.blockCount <= 1 ||
                       (beforeStart ? records_.inFirstBlock(j) : !records_.inFirstBlock(j));
      if (blockFits) return j;
    }
    return -1;
  }

  const ViewerStores& stores_;
  const LapSource& source_;
  const LapRecords& records_;
  int firstLap_;
  std::int32_t previousClock_ = 0;
};

LapStatus savedLapStatus(const ViewerStores& stores, int lap) {
  std::int32_t car = stores.lapCar[static_cast<std::size_t>(lap)];
  if ((car & kNotValidBit) == 0) return {stores.lapTime[static_cast<std::size_t>(lap)], car};
  return {(car & kStartLapBit) != 0 ? kStartLap : kLapNotValid, car};
}

void findLapEnds(const ViewerStores& stores, int from, int to, std::vector<int>& ends) {
  for (int s = from; s < to; ++s)
    if (lapEndsAt(stores, s)) ends.push_back(s);
}

}  // namespace

void cutLaps(ViewerStores& stores, LapList& lapList, const LapSource& source, int s0, int end,
             const SampleSweep* sweep) {
  static const LapRecords kNoRecords;
  LapSource replay = source;
  if (replay.records == nullptr) replay.records = &kNoRecords;
  ReplayLapJudge judge(stores, replay, stores.lapCount);
  std::vector<int> found;
  const std::vector<int>* ends = &found;
  if (sweep != nullptr && sweep->first == s0 && sweep->end == end) {
    ends = &sweep->lapEnds;
  } else {
    findLapEnds(stores, s0, end, found);
  }
  for (int s : *ends) {
    if (stores.lapCount >= kLapCapacity) break;
    int k = stores.lapCount;
    std::size_t lap = static_cast<std::size_t>(k);
    LapStatus status = source.savedLaps ? savedLapStatus(stores, k) : judge.judge(k, s);
    stores.lapTime[lap] = status.time;
    stores.lapCar[lap] = status.car;
    lapList.append(lapListLine(k, status.time, status.car));
    if (!source.savedLaps) {
      stores.lapDriver[lap] = source.playerName;
      stores.lapFps[lap] = source.fps;
    }
    stores.lapCount = k + 1;
    stores.lapStart[lap + 1] = s + 1;
  }
}

}  // namespace lv
