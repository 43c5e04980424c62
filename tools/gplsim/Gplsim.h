#pragma once

// gplsim: synthetic GPL drives for tests, benchmarks and the demo. A car laps a closed track;
// the drive is written as a replay with the player's lap records, race clock and car states,
// the matching telemetry in any format version, track.ini and "Vantor.ini". Deterministic
// for a seed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "telemetry/Status.h"
#include "telemetry/TelemetrySample.h"
#include "tools/gplsim/ReplayEncoding.h"

namespace lv::sim {

struct SimOptions {
  int laps = 3;                       // full laps between the out-lap and the in-lap
  int fps = 60;                       // 60 or 36
  std::optional<int> telVersion = 7;  // 7, 6, 5, 1, 2, 3; nothing: a file without version word
  bool writeTelemetry = true;
  int drivers = 1;             // entries of the driver table; from 2 on every driver drives
  bool server = false;         // the recording name on entry 0, slot 0 (a server's replay)
  bool raceRecording = false;  // the recording starts at the race start
  int pingFrames = 0;          // network delay: "Ping.ini"; a client sees other drivers' inputs
                               // twice this many frames late, a server once
  std::uint32_t seed = 1;
  int frames = 0;        // total frames; 0: from the laps
  int raceFromLap = -1;  // the race starts at this lap's line; -1: practice only
  std::string name = "demo";
  std::string trackName = "monza";
  std::string carSetName = "cars67";
  std::string playerName = "Jim             Clark";
  double trackMiles = 2.5;
};

// What a frame of the replay holds, as the viewer decodes it.
struct FrameTruth {
  std::int32_t distance;  // 1/2000 m
  std::int32_t fields[26];
};

// Another driver of a multiplayer drive, and what the viewer must show of its laps.
struct OtherDriver {
  std::string name;
  std::int32_t carNumber = 0;
  std::int32_t recordId = 0;
  std::vector<LapRecord> practice;  // as written
  std::vector<LapRecord> race;
  // Per replay frame: fields 0, 2..9 and 22 of the driver's car as recorded (the inputs at
  // the frame they belong to), 1 the frame number and 23 the driver's status word.
  std::vector<FrameTruth> frames;
};

// A generated drive: the file images and the truth behind them.
struct Drive {
  std::vector<std::uint8_t> replay;
  std::vector<std::uint8_t> telemetry;       // empty without telemetry
  std::vector<FrameTruth> frames;            // every frame written to the replay
  std::vector<std::int32_t> lapTimes;        // ms of the full laps, in order
  std::vector<std::int32_t> lapRecordTimes;  // the player's cumulative record times
  int telemetryLead = 0;                     // records before the replay's first frame
  std::vector<OtherDriver> others;           // every driver but the recording player
  std::uint32_t startClock = 0;              // hundredths, of the first frame opened by it
};

Drive generateDrive(const SimOptions& options);

// Writes DIR/Vantor.ini, DIR/Ping.ini, DIR/gpl/replay/NAME.rpy (and .tel) and
// DIR/gpl/tracks/TRACK/track.ini.
Status writeDriveFolder(const SimOptions& options, const Drive& drive, const std::string& dir);

// Builds a replay whose frames follow the distances of an existing .tel file, one frame per
// record, so that a recording of our logger can be paired with a replay.
Status driveFromTelemetry(const SimOptions& options, const std::vector<std::uint8_t>& tel,
                          Drive& out);

}  // namespace lv::sim
