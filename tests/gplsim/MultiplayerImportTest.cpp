#include <gtest/gtest.h>

#include <algorithm>
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
  int ping;    // written to "Ping.ini"
  int kind;    // 0 practice, 1 race
  int lap;     // record number
  int driver;  // index into the other drivers
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
  int sum = 0;
  for (int q = 2; q <= 5; ++q) {
    EXPECT_GT(stores->lapSectorTimes[10 + q], 0) << q;
    sum += stores->lapSectorTimes[10 + q];
  }
  EXPECT_EQ(sum, lapTime);
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, MultiplayerImport,
    testing::Values(ImportCase{"ClientPracticeNoDelay", 60, false, false, 0, 0, 2, 0},
                    ImportCase{"ClientPracticeDelayed", 60, false, false, 4, 0, 3, 2},
                    ImportCase{"ServerPracticeDelayed", 36, true, false, 3, 0, 2, 1},
                    ImportCase{"ClientRaceDelayed", 60, false, true, 5, 1, 1, 1},
                    ImportCase{"ServerRace36", 36, true, true, 0, 1, 2, 2},
                    ImportCase{"ClientRaceFirstLapFromTheGrid", 60, false, true, 2, 1, 0, 0}),
    [](const testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lv::sim
