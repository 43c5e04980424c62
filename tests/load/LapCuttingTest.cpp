#include <gtest/gtest.h>

#include "viewer/load/LapCutting.h"
#include "viewer/load/LapTimeText.h"

namespace lv {
namespace {

TEST(LapListLine, Format) {
  struct Case {
    int lap;
    std::int32_t time;
    std::int32_t car;
    const char* line;
  };
  const Case cases[] = {
      {7, 83456, 5, "7  1:23.456     -"},
      {12, 61005, 0, "12 1:01.005     +"},
      {123, 9070, 0, "1230:09.070     +"},
      {0, kLapNotValid, 37, "0  ---------     -"},
      {3, kStartLap, 165, "3  Start              -"},
      {1, 21 * 60000 + 5000, 0, "1  20:65.000     +"},
  };
  for (const Case& c : cases) EXPECT_EQ(lapListLine(c.lap, c.time, c.car), c.line);
}

struct Drive {
  ViewerStores stores;
  LapList list;
  LapRecords records;

  // Lap records of one block, all with flag byte `flag`.
  void recordTimes(std::initializer_list<std::int32_t> times, std::int32_t flag) {
    records.count = 0;
    for (std::int32_t time : times) {
      records.time[static_cast<std::size_t>(records.count)] = time;
      records.flags[static_cast<std::size_t>(records.count++)] = flag;
    }
    records.firstBlockCount = records.count;
    records.blockCount = 1;
  }

  // Laps of `samples` frames each, distance rising by `step` per frame from `start`.
  void drive(int laps, int samples, std::int32_t step, std::int32_t start = 1000) {
    int s = 0;
    for (int lap = 0; lap < laps; ++lap)
      for (int i = 0; i < samples; ++i)
        stores.frameTable[static_cast<std::size_t>(s++)].f[0] = start + step * i;
  }
};

TEST(LapCutting, CutsWhereDistanceFallsByMoreThanTwentyMetres) {
  Drive d;
  const std::int32_t distances[] = {50000, 90000, 50000, 90000, 49999, 40000};
  for (int s = 0; s < 6; ++s) d.stores.frameTable[static_cast<std::size_t>(s)].f[0] = distances[s];
  LapSource source;
  source.fps = 60;
  source.records = &d.records;
  cutLaps(d.stores, d.list, source, 0, 6);
  // 90000 -> 50000 is exactly 40000 (no cut), 90000 -> 49999 cuts, and the last frame's
  // 40000 against the zero row after it leaves the last lap open.
  ASSERT_EQ(d.stores.lapCount, 1);
  EXPECT_EQ(d.stores.lapStart[1], 4);
}

TEST(LapCutting, LapStatusFromRecordsAndRaceClock) {
  Drive d;
  d.drive(4, 60, 1000);
  // Clock in hundredths by second: laps end at seconds 0, 1, 2, 3.
  d.stores.raceClockBySecond = {};
  d.stores.raceClockBySecond[0] = 9000;
  d.stores.raceClockBySecond[1] = 18100;
  d.stores.raceClockBySecond[2] = 27300;
  d.stores.raceClockBySecond[3] = 100;  // clock fell back: a start lap
  d.recordTimes({90000, 181000, 273000}, 5);
  LapSource source;
  source.fps = 60;
  source.records = &d.records;
  source.carIndex = 5;
  std::snprintf(source.playerName.data(), 32, "Jim Clark");
  cutLaps(d.stores, d.list, source, 0, 240);

  ASSERT_EQ(d.stores.lapCount, 4);
  EXPECT_EQ(d.stores.lapTime[0], kLapNotValid);
  EXPECT_EQ(d.stores.lapCar[0], 5 + 32);
  EXPECT_EQ(d.stores.lapTime[1], 91000);
  EXPECT_EQ(d.stores.lapTime[2], 92000);
  EXPECT_EQ(d.stores.lapCar[2], 5);
  EXPECT_EQ(d.stores.lapTime[3], kStartLap);
  EXPECT_EQ(d.stores.lapCar[3], 5 + 32 + 128);
  EXPECT_EQ(d.stores.lapStart[2], 120);
  EXPECT_EQ(d.stores.lapFps[1], 60);
  EXPECT_STREQ(d.stores.lapDriver[1].data(), "Jim Clark");
  ASSERT_EQ(d.list.size(), 4);
  EXPECT_EQ(d.list.lines()[1], "1  1:31.000     -");
}

TEST(LapCutting, RecordTooFarFromTheClockIsNotValid) {
  Drive d;
  d.drive(2, 60, 1000);
  d.stores.raceClockBySecond[0] = 9000;
  d.stores.raceClockBySecond[1] = 19000;  // 190 s, the record says 181 s
  d.recordTimes({90000, 181000, 195000}, 3);
  d.records.flags[2] = 3 + 32;
  LapSource source;
  source.fps = 60;
  source.records = &d.records;
  cutLaps(d.stores, d.list, source, 0, 120);
  ASSERT_EQ(d.stores.lapCount, 2);
  // First record above 190 000 - 2000 is 195 000, marked not valid in the file.
  EXPECT_EQ(d.stores.lapTime[1], kLapNotValid);
  EXPECT_EQ(d.stores.lapCar[1], 3 + 32);
}

TEST(LapCutting, SavedLapsTakeStatusFromTheCarByte) {
  Drive d;
  d.drive(3, 10, 5000);
  d.stores.lapTime[0] = 0x400000;
  d.stores.lapCar[0] = 32 + 128;
  d.stores.lapTime[1] = 0x400000;
  d.stores.lapCar[1] = 32;
  d.stores.lapTime[2] = 83456;
  d.stores.lapCar[2] = 0;
  LapSource source;
  source.savedLaps = true;
  cutLaps(d.stores, d.list, source, 0, 30);
  ASSERT_EQ(d.stores.lapCount, 3);
  EXPECT_EQ(d.stores.lapTime[0], kStartLap);
  EXPECT_EQ(d.stores.lapTime[1], kLapNotValid);
  EXPECT_EQ(d.list.lines()[2], "2  1:23.456     +");
}

TEST(LapCutting, StopsAtTheLapCapacity) {
  Drive d;
  d.drive(kLapCapacity + 20, 3, 30000);
  LapSource source;
  source.savedLaps = true;
  cutLaps(d.stores, d.list, source, 0, 3 * (kLapCapacity + 20));
  EXPECT_EQ(d.stores.lapCount, kLapCapacity);
  EXPECT_EQ(d.list.size(), kLapCapacity);
}

}  // namespace
}  // namespace lv
