#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "tools/gplsim/Gplsim.h"
#include "viewer/load/LapImport.h"
#include "viewer/load/MultiplayerListing.h"

namespace lv::sim {
namespace {

struct ImportCase {
  const char* name;
  int fps;
  bool server;
  bool raceRecording;
  int ping;         // written to "Ping.ini"
  int kind;         // 0 practice, 1 race
  int lap;          // record number
  int driver;       // index into the other drivers
  bool trackKnown;  // track.ini gave the track length
};

// Frames at which the driver's distance fell: the starts of its laps.
std::vector<int> lapStarts(const OtherDriver& driver) {
  std::vector<int> starts;
  for (std::size_t s = 1; s < driver.frames.size(); ++s)
    if (driver.frames[s].distance < driver.frames[s - 1].distance)
      starts.push_back(static_cast<int>(s));
  return starts;
}

// Index of lap `lap` of the chosen kind among the driver's lap starts: a practice recording
// lists one lap of the session before its first crossing, a race recording's laps count from
// the start.
std::size_t lapIndex(const ImportCase& c) {
  return static_cast<std::size_t>(c.raceRecording ? c.lap - 1 : c.lap - 2);
}

// The quarter durations of a lap imported at row `s0` from the driver's frames `first` ..
// `first + samples - 1`: time counted in frames from the lap's second sample, shifted by how
// far its first step puts the line, to the first sample past each quarter of `length`.
std::array<std::int32_t, 4> expectedQuarters(const OtherDriver& driver, int first, int samples,
                                             int s0, double length, int fps, std::int32_t lapTime) {
  auto d = [&](int row) -> double {
    return driver.frames[static_cast<std::size_t>(first + row - s0)].fields[0];
  };
  double step = d(s0 + 1) - d(s0);
  double c = (step != 0 ? d(s0) / step : 0.0) - (s0 + 1);
  std::int32_t split[4] = {0, 0, 0, 0};
  for (int q = 1; q <= 3; ++q) {
    double mark = length * q / 4.0;
    for (int s = s0 + 2; s < s0 + samples; ++s) {
      if (d(s) <= mark) continue;
      double r = (d(s) - mark) / (d(s) - d(s - 1));
      split[q] = static_cast<std::int32_t>((s + 1 + c - (1.0 - r)) * 1000.0 / fps);
      break;
    }
  }
  return {split[1], split[2] - split[1], split[3] - split[2], lapTime - split[3]};
}

class MultiplayerImport : public testing::TestWithParam<ImportCase> {};

TEST_P(MultiplayerImport, EveryDecodedFieldIsTheModelsOwn) {
  const ImportCase& c = GetParam();
  SimOptions options;
  options.laps = 3;
  options.fps = c.fps;
  options.drivers = 4;
  options.server = c.server;
  options.raceRecording = c.raceRecording;
  options.pingFrames = c.ping;
  Drive drive = generateDrive(options);
  const OtherDriver& driver = drive.others.at(static_cast<std::size_t>(c.driver));

  auto stores = std::make_unique<ViewerStores>();
  MultiplayerListing listing = readMultiplayerListing(drive.replay, *stores, {});
  EXPECT_EQ(listing.startClock.clock, static_cast<std::int32_t>(drive.startClock));
  ASSERT_EQ(listing.drivers.size(), drive.others.size());

  // Something loaded before: the import appends behind it.
  const int s0 = 250;
  stores->sampleCount = s0;
  stores->lapCount = 2;
  stores->lapStart[2] = 240;  // a last lap left open by that load
  stores->loadFirstLap = 2;
  const std::int32_t trackLength = static_cast<std::int32_t>(options.trackMiles * 3218000.0);
  if (c.trackKnown) stores->trackLength = trackLength;
  LapImportRequest request{driver.recordId, c.kind, c.lap, c.ping, listing.startClock.clock};
  LapImportResult result = importLap(drive.replay, *stores, request);
  ASSERT_TRUE(result.imported);

  const auto& records = c.kind == 0 ? driver.practice : driver.race;
  const LapRecord& record = records.at(static_cast<std::size_t>(c.lap));
  std::uint32_t previous =
      c.lap > 0 ? records.at(static_cast<std::size_t>(c.lap - 1)).cumulativeMs : 0;
  std::int32_t lapTime = static_cast<std::int32_t>(record.cumulativeMs - previous);
  std::vector<int> starts = lapStarts(driver);
  bool fromGrid = c.raceRecording && c.lap == 0;  // the race's first lap begins at the start
  int first = fromGrid ? 0 : starts.at(lapIndex(c)) + 1;  // else the frame after the line
  int next = starts.at(fromGrid ? 0 : lapIndex(c) + 1);
  int n = lapTime * c.fps / 1000;
  int samples = std::min(next - first, n - 1);
  ASSERT_GT(samples, 50);

  EXPECT_EQ(result.end, s0 + samples);
  EXPECT_EQ(stores->sampleCount, s0 + samples);
  EXPECT_EQ(stores->lapCount, 3);
  EXPECT_EQ(stores->loadFirstLap, 3);
  EXPECT_EQ(stores->lapStart[2], s0);
  EXPECT_EQ(stores->lapStart[3], s0 + samples);
  EXPECT_EQ(stores->lapTime[2], lapTime);
  EXPECT_EQ(stores->lapFps[2], c.fps);
  std::int32_t car = driver.carNumber + 1 + (record.flag & 0xC0) + ((record.flag & 0x10) ? 32 : 0);
  EXPECT_EQ(stores->lapCar[2], car);
  EXPECT_STREQ(stores->lapDriver[2].data(), driver.name.c_str());
  for (int i = 0; i < samples; ++i) {
    const FrameTruth& truth = driver.frames[static_cast<std::size_t>(first + i)];
    const FrameRecord& row = stores->frameTable[static_cast<std::size_t>(s0 + i)];
    for (int field : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 22, 23})
      ASSERT_EQ(row.f[field], truth.fields[field]) << "sample " << i << " field " << field;
  }
  // The rows behind the lap stay empty, as the next load expects.
  for (int s = s0 + samples; s < s0 + samples + 2 * c.ping + 60; ++s)
    ASSERT_EQ(stores->frameTable[static_cast<std::size_t>(s)].f[0], 0) << s;
  EXPECT_GT(stores->maxFrameDistance, stores->frameTable[static_cast<std::size_t>(s0)].f[0]);
  // Quarters of a whole lap add up to its time and none is empty; a lap from the grid does
  // not start at the line.
  if (fromGrid) return;
  double length = c.trackKnown ? trackLength : stores->maxFrameDistance;
  std::array<std::int32_t, 4> quarters =
      expectedQuarters(driver, first, samples, s0, length, c.fps, lapTime);
  for (int q = 0; q < 4; ++q) EXPECT_EQ(stores->lapSectorTimes[12 + q], quarters[q]) << q;
  int sum = 0;
  for (int q = 2; q <= 5; ++q) {
    EXPECT_GT(stores->lapSectorTimes[10 + q], 0) << q;
    sum += stores->lapSectorTimes[10 + q];
  }
  EXPECT_EQ(sum, lapTime);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, MultiplayerImport,
    testing::Values(ImportCase{"ClientPracticeNoDelay", 60, false, false, 0, 0, 2, 0, true},
                    ImportCase{"ClientPracticeDelayed", 60, false, false, 4, 0, 3, 2, false},
                    ImportCase{"ServerPracticeDelayed", 36, true, false, 3, 0, 2, 1, true},
                    ImportCase{"ClientRaceDelayed", 60, false, true, 5, 1, 1, 1, true},
                    ImportCase{"ServerRace36", 36, true, true, 0, 1, 2, 2, false},
                    ImportCase{"ClientRaceFirstLapFromTheGrid", 60, false, true, 2, 1, 0, 0, true}),
    [](const testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lv::sim
