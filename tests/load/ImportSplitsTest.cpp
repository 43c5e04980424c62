#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "viewer/load/ImportSplits.h"

namespace lv {
namespace {

constexpr int kLap = 1;
constexpr int kFirst = 10;
constexpr std::int32_t kLapTime = 10000;

// Distances from the lap's first sample on: 300 behind the line, then 1000 a sample.
std::vector<std::int32_t> steady(int samples) {
  std::vector<std::int32_t> d;
  for (int i = 0; i < samples; ++i) d.push_back(300 + 1000 * i);
  return d;
}

struct SplitCase {
  const char* name;
  std::vector<std::int32_t> distances;  // the lap's samples from kFirst on
  std::int32_t trackLength;
  std::int32_t maxFrameDistance;
  int fps;
  std::array<std::int32_t, 4> quarters;
};

// Worked by hand: c = d(10) / (d(11) - d(10)) - 11; for the first sample s > 11 past the mark,
// r = (d(s) - mark) / (d(s) - d(s - 1)) and split = trunc((s + 1 + c - (1 - r)) * 1000 / fps).
TEST(ImportSplits, QuartersFollowTheLineOffsetAndTheMarks) {
  const SplitCase cases[] = {
      // c = -10.7; marks 2250 (s 12, r .05), 4500 (s 15, r .8), 6750 (s 17, r .55):
      // 1.35, 5.1 and 6.85 frames.
      {"track length known", steady(20), 9000, 19300, 36, {37, 104, 49, kLapTime - 190}},
      // The largest distance 12000 marks 3000 (s 13), 6000 (s 16), 9000 (s 19), r .3 each:
      // 2.6, 5.6 and 8.6 frames.
      {"track length unknown", steady(20), 0, 12000, 36, {72, 83, 83, kLapTime - 238}},
      // Marks 2275 (s 12, r .025), 4550 (s 15, r .75), 6825 (s 17, r .475): 1.325, 5.05 and
      // 6.775 frames.
      {"a lap of 60 frames a second", steady(20), 9100, 19300, 60, {22, 62, 28, kLapTime - 112}},
      // No first step: c = -11; marks at s 13 (r .05), 16 (r .8), 18 (r .55).
      {"standing at its first sample",
       {300, 300, 1300, 2300, 3300, 4300, 5300, 6300, 7300, 8300},
       9000,
       8300,
       36,
       {56, 105, 48, kLapTime - 209}},
      // The first mark 1025 lies behind sample 11, and sample 12 did not move: r = 0; then
      // marks 2050 (s 13, r .25) and 3075 (s 14, r .225): 1.3, 2.55 and 3.525 frames.
      {"past a mark without moving",
       {300, 1300, 1300, 2300, 3300, 4300},
       4100,
       4300,
       36,
       {36, 34, 27, kLapTime - 97}},
      // The third mark 6750 lies beyond the lap's last sample: its split stays 0.
      {"a quarter never reached", steady(6), 9000, 5300, 36, {37, 104, -141, kLapTime}},
      {"a lap of one sample", steady(1), 9000, 300, 36, {0, 0, 0, kLapTime}},
      {"no frame rate", steady(20), 9000, 19300, 0, {0, 0, 0, kLapTime}},
  };
  for (const SplitCase& c : cases) {
    auto stores = std::make_unique<ViewerStores>();
    stores->lapCount = kLap + 1;
    stores->lapStart[kLap] = kFirst;
    stores->lapStart[kLap + 1] = kFirst + static_cast<int>(c.distances.size());
    stores->lapTime[kLap] = kLapTime;
    stores->lapFps[kLap] = c.fps;
    stores->trackLength = c.trackLength;
    stores->maxFrameDistance = c.maxFrameDistance;
    // Rows around the lap are far past every mark: reading them would change the splits.
    for (int s = 0; s < kFirst + 40; ++s)
      stores->frameTable[static_cast<std::size_t>(s)].f[0] = 900000;
    for (std::size_t i = 0; i < c.distances.size(); ++i)
      stores->frameTable[kFirst + i].f[0] = c.distances[i];
    stores->lapSectorTimes[2] = 1234;  // an earlier lap keeps its quarters

    computeImportSplits(*stores, kLap);
    for (int q = 0; q < 4; ++q)
      EXPECT_EQ(stores->lapSectorTimes[static_cast<std::size_t>(5 * kLap + 2 + q)], c.quarters[q])
          << c.name << " quarter " << q + 1;
    EXPECT_EQ(stores->lapSectorTimes[2], 1234) << c.name;
  }
}

}  // namespace
}  // namespace lv
