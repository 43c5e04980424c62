#include <gtest/gtest.h>

#include "telemetry/ByteReader.h"
#include "telemetry/TelFormat.h"
#include "tools/gplsim/DriveModel.h"
#include "tools/gplsim/Gplsim.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/TelemetryAttachment.h"

namespace lv::sim {
namespace {

SimOptions shortDrive() {
  SimOptions options;
  options.laps = 2;
  return options;
}

TEST(Gplsim, ViewerDecodesEveryWrittenFrame) {
  for (int fps : {60, 36}) {
    SimOptions options = shortDrive();
    options.fps = fps;
    options.drivers = 3;
    Drive drive = generateDrive(options);
    ViewerStores stores;
    ReplayReadResult result = readReplay(drive.replay, stores);
    ASSERT_EQ(result.outcome, ReplayOutcome::kRead);
    EXPECT_EQ(result.fps, fps);
    EXPECT_EQ(result.carIndex, 5);
    // The reader stops ten frames' worth of bytes before the end of the file.
    ASSERT_GT(result.end, static_cast<int>(drive.frames.size()) - 12);
    for (int s = 0; s < result.end; ++s) {
      const FrameTruth& truth = drive.frames[static_cast<std::size_t>(s)];
      for (int field :
           {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22, 23, 24, 25}) {
        ASSERT_EQ(stores.frameTable[static_cast<std::size_t>(s)].f[field], truth.fields[field])
            << "frame " << s << " field " << field;
      }
    }
    EXPECT_EQ(result.records.count, static_cast<int>(drive.lapRecordTimes.size()));
  }
}

TEST(Gplsim, LapsComeOutWithTheirTimes) {
  SimOptions options = shortDrive();
  options.laps = 4;
  Drive drive = generateDrive(options);
  ViewerStores stores;
  ReplayReadResult result = readReplay(drive.replay, stores);
  LapList list;
  LapSource source;
  source.fps = result.fps;
  source.records = &result.records;
  source.carIndex = result.carIndex;
  cutLaps(stores, list, source, 0, result.end);
  ASSERT_EQ(stores.lapCount, 6);  // out-lap, four laps, in-lap
  ASSERT_EQ(drive.lapTimes.size(), 4u);
  for (int lap = 1; lap <= 4; ++lap)
    EXPECT_EQ(stores.lapTime[static_cast<std::size_t>(lap)],
              drive.lapTimes[static_cast<std::size_t>(lap - 1)]);
  EXPECT_EQ(stores.lapTime[0], kLapNotValid);
  EXPECT_EQ(stores.lapTime[5], kLapNotValid);
}

TEST(Gplsim, RaceStartGivesAStartLap) {
  SimOptions options = shortDrive();
  options.laps = 4;
  options.drivers = 2;
  options.raceFromLap = 2;
  Drive drive = generateDrive(options);
  ViewerStores stores;
  ReplayReadResult result = readReplay(drive.replay, stores);
  EXPECT_LT(result.raceStartFrame, result.end);
  EXPECT_EQ(result.records.blockCount, 2);
  LapList list;
  LapSource source{false,           result.fps,      result.playerName,
                   result.carIndex, &result.records, result.raceStartFrame};
  cutLaps(stores, list, source, 0, result.end);
  bool startLap = false;
  for (int lap = 0; lap < stores.lapCount; ++lap)
    startLap |= stores.lapTime[static_cast<std::size_t>(lap)] == kStartLap;
  EXPECT_TRUE(startLap);
}

TEST(Gplsim, TelemetryOfEveryVersionAlignsExactly) {
  for (std::optional<int> version :
       {std::optional<int>(7), std::optional<int>(6), std::optional<int>(5), std::optional<int>(1),
        std::optional<int>()}) {
    SimOptions options = shortDrive();
    options.telVersion = version;
    Drive drive = generateDrive(options);
    ByteReader header(drive.telemetry);
    TelFileShape shape = telFileShape(header.i32());
    int records = static_cast<int>((drive.telemetry.size() - shape.dataOffset) /
                                   static_cast<std::size_t>(shape.recordSize));
    EXPECT_EQ(records, static_cast<int>(drive.frames.size()) + drive.telemetryLead);
    for (int s = 0; s < static_cast<int>(drive.frames.size()); s += 97) {
      std::size_t at = shape.dataOffset + static_cast<std::size_t>(s + drive.telemetryLead) *
                                              static_cast<std::size_t>(shape.recordSize);
      TelemetrySample sample = decodeTelRecord(
          shape.layout,
          std::span(drive.telemetry.data() + at, static_cast<std::size_t>(shape.recordSize)));
      ASSERT_EQ(distanceKey(sample[TelemetrySample::kLapDistance]),
                drive.frames[static_cast<std::size_t>(s)].distance);
    }
    ViewerStores stores;
    ReplayReadResult result = readReplay(drive.replay, stores);
    attachTelemetry(drive.telemetry, stores, 0, result.end, result.fps);
    EXPECT_GT(stores.telemetryTable[1000].f[TelemetryRecord::kSpeed], 50.0f)
        << (version ? *version : 0);
  }
}

TEST(Gplsim, SameSeedSameBytesOtherSeedOtherDrive) {
  SimOptions options = shortDrive();
  Drive a = generateDrive(options);
  Drive b = generateDrive(options);
  options.seed = 2;
  Drive c = generateDrive(options);
  EXPECT_EQ(a.replay, b.replay);
  EXPECT_EQ(a.telemetry, b.telemetry);
  EXPECT_NE(a.replay, c.replay);
}

TEST(Gplsim, ServerReplayNamesTheRecorderFirst) {
  SimOptions options = shortDrive();
  options.drivers = 3;
  options.server = true;
  ViewerStores stores;
  EXPECT_EQ(readReplay(generateDrive(options).replay, stores).outcome,
            ReplayOutcome::kRefusedServer);
}

TEST(Gplsim, ReplayFollowsAnExistingRecording) {
  SimOptions options = shortDrive();
  Drive recorded = generateDrive(options);
  Drive followed;
  ASSERT_TRUE(driveFromTelemetry(options, recorded.telemetry, followed));
  ASSERT_EQ(followed.frames.size(),
            recorded.frames.size() + static_cast<std::size_t>(recorded.telemetryLead));
  ViewerStores stores;
  ReplayReadResult result = readReplay(followed.replay, stores);
  attachTelemetry(recorded.telemetry, stores, 0, result.end, result.fps);
  EXPECT_GT(stores.telemetryTable[2000].f[TelemetryRecord::kSpeed], 50.0f);
}

}  // namespace
}  // namespace lv::sim
