#include "tools/gplsim/Gplsim.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "telemetry/ByteReader.h"
#include "telemetry/FileBytes.h"
#include "telemetry/TelFormat.h"
#include "tools/gplsim/CarTable.h"
#include "tools/gplsim/DriveModel.h"
#include "tools/gplsim/ReplayEncoding.h"

namespace lv::sim {
namespace {

constexpr std::int32_t kClientSlot = 3;
constexpr std::int32_t kClockAtFirstFrame = 12000;  // two minutes into the session
constexpr int kTelemetryLead = 60;                  // records the logger took before frame 0
constexpr double kStartFraction = 0.6;

// A server records as slot 0; a client as its own slot.
std::int32_t playerSlot(const SimOptions& options) {
  return options.server ? 0 : kClientSlot;
}

bool multiplayer(const SimOptions& options) {
  return options.drivers >= 2;
}

TrackShape trackOf(const SimOptions& options) {
  std::int32_t units = static_cast<std::int32_t>(options.trackMiles * 3218000.0);
  return {units, units / 2000.0};
}

bool timeStepped(const SimOptions& options) {
  return options.telVersion && (*options.telVersion == 2 || *options.telVersion == 3);
}

// Crossings of the start/finish line: frames whose distance fell back.
std::vector<int> lineCrossings(const std::vector<CarState>& frames) {
  std::vector<int> crossings;
  for (std::size_t s = 1; s < frames.size(); ++s)
    if (frames[s].distance + 40000 < frames[s - 1].distance)
      crossings.push_back(static_cast<int>(s));
  return crossings;
}

struct Session {
  int fps;
  int raceStartFrame;  // -1: practice only

  bool racing(int s) const { return raceStartFrame >= 0 && s >= raceStartFrame; }
  std::uint32_t clock(int s) const {
    if (racing(s)) return static_cast<std::uint32_t>((s - raceStartFrame) * 100 / fps);
    return static_cast<std::uint32_t>(kClockAtFirstFrame + s * 100 / fps);
  }
  // The practice clock keeps running for the record of the lap that ends at the start.
  std::uint32_t practiceClock(int s) const {
    return static_cast<std::uint32_t>(kClockAtFirstFrame + s * 100 / fps);
  }
};

std::int32_t statusWord(int lap) {
  std::int32_t tyre = std::min(3, lap / 2);
  std::int32_t word = 0;
  for (int k : {0, 2, 4, 6, 16, 18, 20, 22}) word |= tyre << k;
  return word | (std::min(127, lap * 3) << 24);
}

void fillFields(const CarState& car, int s, std::int32_t (&f)[26]) {
  constexpr double kPi = 3.14159265358979323846;
  std::fill(std::begin(f), std::end(f), 0);
  double lateral = car.speedKmh / 3.6 * car.speedKmh / 3.6 * car.curvature;
  double metres = car.distance / 2000.0;
  f[0] = car.distance;
  f[1] = 5000 + s;
  f[2] = car.gear;
  f[3] = std::clamp(static_cast<int>(car.curvature * 4000.0), -63, 63);
  f[4] = static_cast<int>(150.0 * std::sin(metres / 90.0));
  f[5] = 120 + static_cast<int>(10.0 * std::sin(metres / 13.0));
  f[6] = std::clamp(static_cast<int>(car.rpm / 10.0), 0, 1023);
  f[7] = static_cast<int>(std::fmod(car.heading / (2 * kPi) + 2.0, 1.0) * 4096.0) & 4095;
  f[8] = std::clamp(static_cast<int>(car.accelerationMs2 * 20.0), -500, 500);
  f[9] = std::clamp(static_cast<int>(lateral * 12.0), -500, 500);
  f[10] = std::clamp(static_cast<int>(std::abs(lateral) * 3.0), 0, 127);
  f[11] = 1;
  for (int wheel = 0; wheel < 4; ++wheel) {
    f[12 + wheel] =
        std::clamp(40 + static_cast<int>((wheel % 2 == 0 ? 1 : -1) * lateral * 4.0), -250, 250);
    f[16 + wheel] = static_cast<int>(metres / 1.9 * 128.0 + 17 * wheel) & 127;
  }
  f[22] = s & 0xFFFFFF;
  f[23] = statusWord(car.lap);
  int oil = std::min(127, 80 + car.lap * 2);
  int water = std::min(511, 78 + car.lap);
  f[24] = (water << 7) | oil;
  f[25] = std::clamp(300 + static_cast<int>(car.rpm / 50.0), 0, 1023);
}

std::vector<DriverEntry> driverTable(const SimOptions& options) {
  static const char* kNames[] = {"Graham          Hill",    "Jack            Brabham",
                                 "John            Surtees", "Dan             Gurney",
                                 "Denny           Hulme",   "Jochen          Rindt"};
  std::int32_t slot = playerSlot(options);
  std::vector<DriverEntry> drivers;
  int others = std::max(0, options.drivers - 1);
  for (int i = 0; i < others; ++i) drivers.push_back({kNames[i % 6], i % 7, i < slot ? i : i + 1});
  DriverEntry player{options.playerName, 4, slot};
  // A server saves its own replay as entry 0; a driver's replay lists the driver after one other.
  std::size_t at = options.server || drivers.empty() ? 0 : 1;
  drivers.insert(drivers.begin() + static_cast<std::ptrdiff_t>(at), player);
  return drivers;
}

// Lap records of an earlier session, none of whose laps are in the recording.
std::vector<LapRecord> earlierSession(std::int32_t id, std::uint32_t seed, int laps,
                                      std::uint32_t start) {
  std::vector<LapRecord> records;
  std::uint32_t time = start;
  for (int lap = 0; lap < laps; ++lap) {
    time += 88000 + (seed * 7919u + static_cast<std::uint32_t>(lap) * 104729u +
                     static_cast<std::uint32_t>(id) * 31u) %
                        9000;
    records.push_back({time, static_cast<std::uint8_t>(lap == 2 ? 3 : 0)});
  }
  return records;
}

struct SessionRecords {
  std::vector<LapRecord> practice;
  std::vector<LapRecord> race;
};

// One record per line crossing, in the session the crossing belongs to.
SessionRecords recordsAtCrossings(const std::vector<int>& crossings, const Session& session) {
  SessionRecords records;
  for (int c : crossings) {
    bool inRace = session.racing(c) && c != session.raceStartFrame;
    std::uint32_t clock = inRace ? session.clock(c) : session.practiceClock(c);
    (inRace ? records.race : records.practice).push_back({clock * 10, 0});
  }
  return records;
}

// Another driver's records: the laps driven in the recording, behind one lap of the same
// session that ended before it; a race recording brings the practice of an earlier session.
SessionRecords otherDriverRecords(const SimOptions& options, std::int32_t id,
                                  const std::vector<int>& crossings, const Session& session) {
  SessionRecords records = recordsAtCrossings(crossings, session);
  if (options.raceRecording) {
    records.practice = earlierSession(id, options.seed, 5, 1000);
  } else {
    std::uint32_t first = static_cast<std::uint32_t>(kClockAtFirstFrame) * 10;
    records.practice.insert(records.practice.begin(),
                            {first - 20000 - 1000 * static_cast<std::uint32_t>(id), 0});
  }
  if (records.practice.size() > 2) records.practice[2].flag = 3;
  if (records.race.size() > 1) records.race[1].flag = 16;  // a lap the game did not count
  return records;
}

void addPlayerRecords(const std::vector<int>& crossings, const Session& session,
                      const SessionRecords& records, Drive& drive) {
  for (int c : crossings) {
    bool inRace = session.racing(c) && c != session.raceStartFrame;
    std::uint32_t clock = inRace ? session.clock(c) : session.practiceClock(c);
    drive.lapRecordTimes.push_back(static_cast<std::int32_t>(clock * 10));
  }
  for (const auto* list : {&records.practice, &records.race})
    for (std::size_t j = 1; j < list->size(); ++j)
      drive.lapTimes.push_back(
          static_cast<std::int32_t>((*list)[j].cumulativeMs - (*list)[j - 1].cumulativeMs));
}

ReplayImage replayHeader(const SimOptions& options) {
  ReplayImage image;
  image.fpsCharacter = options.fps == 60 ? '0' : '1';
  image.playerSlot = playerSlot(options);
  image.playerName = options.playerName;
  image.trackName = options.trackName;
  image.carSetName = options.carSetName;
  image.drivers = driverTable(options);
  return image;
}

// The other drivers of a multiplayer drive, each on its own drive around the same track.
std::vector<std::vector<CarState>> otherDrives(const SimOptions& options, const ReplayImage& image,
                                               int frames) {
  std::vector<std::vector<CarState>> drives;
  TrackShape track = trackOf(options);
  int i = 0;
  for (const DriverEntry& driver : image.drivers) {
    if (driver.recordId == image.playerSlot) continue;
    ++i;
    double start = std::fmod(kStartFraction + 0.13 * i, 1.0);
    drives.push_back(simulateDrive(track, options.fps, frames, start, options.seed + 17u * i));
  }
  return drives;
}

// The per-car table of frame s: every car's record, the other drivers' inputs as late as the
// recording receives them.
void fillCarTable(const SimOptions& options, const ReplayImage& image,
                  const std::vector<CarState>& player,
                  const std::vector<std::vector<CarState>>& others, int s, ReplayFrame& frame) {
  int delay = options.pingFrames * (options.server ? 1 : 2);
  std::size_t other = 0;
  for (const DriverEntry& driver : image.drivers) {
    if (driver.recordId == image.playerSlot) {
      frame.carTable.push_back(
          encodeCarRecord(carRecordValues(player[static_cast<std::size_t>(s)]), driver.recordId));
      continue;
    }
    const std::vector<CarState>& drive = others[other++];
    CarRecordValues now = carRecordValues(drive[static_cast<std::size_t>(s)]);
    CarRecordValues inputs =
        carRecordValues(drive[static_cast<std::size_t>(std::max(0, s - delay))]);
    frame.carTable.push_back(encodeCarRecord(delayedInputs(now, inputs), driver.recordId));
  }
}

FrameOpening openingOf(const SimOptions& options, int s) {
  if (!multiplayer(options)) return FrameOpening::kClock;
  return s % 7 == 0 ? FrameOpening::kLeadBlock : FrameOpening::kClockAndFiller;
}

std::int32_t slotOfCar(const ReplayImage& image, int car) {
  return image.drivers[static_cast<std::size_t>(car)].recordId;
}

// Records and truth of the other drivers.
void describeOthers(const SimOptions& options, const ReplayImage& image,
                    const std::vector<std::vector<CarState>>& others, const Session& session,
                    Drive& drive) {
  std::size_t other = 0;
  for (const DriverEntry& driver : image.drivers) {
    if (driver.recordId == image.playerSlot) continue;
    const std::vector<CarState>& states = others[other++];
    OtherDriver described{driver.name, driver.carNumber, driver.recordId, {}, {}, {}};
    SessionRecords records =
        otherDriverRecords(options, driver.recordId, lineCrossings(states), session);
    described.practice = records.practice;
    described.race = records.race;
    for (int s = 0; s < static_cast<int>(states.size()); ++s) {
      FrameTruth truth{};
      shownFields(carRecordValues(states[static_cast<std::size_t>(s)]), truth.fields);
      truth.distance = truth.fields[0];
      truth.fields[1] = 5000 + s;
      truth.fields[23] = statusWord(states[static_cast<std::size_t>(s)].lap);
      described.frames.push_back(truth);
    }
    drive.others.push_back(std::move(described));
  }
}

// Replay, records and truth of the frames states[lead ..].
void buildReplay(const SimOptions& options, const std::vector<CarState>& states, int lead,
                 Drive& drive) {
  std::vector<CarState> frames(states.begin() + lead, states.end());
  std::vector<int> crossings = lineCrossings(frames);
  int raceStart =
      options.raceRecording ? 0
      : options.raceFromLap >= 0 && options.raceFromLap < static_cast<int>(crossings.size())
          ? crossings[static_cast<std::size_t>(options.raceFromLap)]
          : -1;
  Session session{options.fps, raceStart};
  ReplayImage image = replayHeader(options);
  int frameCount = static_cast<int>(frames.size());
  std::vector<std::vector<CarState>> others = multiplayer(options)
                                                  ? otherDrives(options, image, frameCount)
                                                  : std::vector<std::vector<CarState>>{};
  SessionRecords playerRecords = recordsAtCrossings(crossings, session);
  addPlayerRecords(crossings, session, playerRecords, drive);
  if (multiplayer(options)) describeOthers(options, image, others, session, drive);
  // Drivers are listed in the same order in the table, the record sections and the frames.
  std::size_t other = 0;
  for (const DriverEntry& driver : image.drivers) {
    bool player = driver.recordId == image.playerSlot;
    SessionRecords records =
        player ? playerRecords
               : SessionRecords{drive.others[other].practice, drive.others[other].race};
    if (!player) ++other;
    image.practice.push_back({driver.recordId, records.practice});
    image.race.push_back({driver.recordId, records.race});
  }
  int cars = static_cast<int>(image.drivers.size());
  for (int s = 0; s < frameCount; ++s) {
    ReplayFrame frame;
    frame.opening = openingOf(options, s);
    frame.counter = (s + 2) & 0xFFFF;
    frame.frameNumber = 5000 + s;
    frame.clockFlag = session.racing(s) ? 1 : 0;
    frame.clock = session.clock(s);
    fillFields(frames[static_cast<std::size_t>(s)], s, frame.fields);
    std::size_t otherIndex = 0;
    for (int car = 0; car < cars; ++car) {
      std::int32_t slot = slotOfCar(image, car);
      std::int32_t status = frame.fields[23];
      if (slot != image.playerSlot)
        status = drive.others[otherIndex++].frames[static_cast<std::size_t>(s)].fields[23];
      frame.carStatus.push_back({static_cast<std::uint16_t>(slot * 64 + 5), status});
    }
    if (multiplayer(options)) fillCarTable(options, image, frames, others, s, frame);
    frame.playerBlock3 = static_cast<std::uint32_t>(frame.fields[22]);
    FrameTruth truth{frame.fields[0], {}};
    std::copy(std::begin(frame.fields), std::end(frame.fields), truth.fields);
    drive.frames.push_back(truth);
    image.frames.push_back(std::move(frame));
  }
  if (frameCount > 1) drive.startClock = session.clock(multiplayer(options) ? 1 : 0);
  drive.replay = encodeReplay(image);
}

void buildTelemetry(const SimOptions& options, const std::vector<CarState>& states, Drive& drive) {
  if (!options.writeTelemetry) return;
  std::vector<TelemetrySample> samples;
  samples.reserve(states.size());
  for (const CarState& car : states) samples.push_back(car.telemetry);
  if (!options.telVersion) {
    drive.telemetry = encodeTelFile(0, TelLayout::kUnversioned, samples);
    return;
  }
  int version = *options.telVersion;
  TelFileShape shape = telFileShape(version);
  std::vector<float> times;
  if (timeStepped(options)) {
    // Times in steps of the viewer's frame period, half a step in, so record r belongs to frame r.
    double step = options.fps == 36 ? 0.027771 : 0.0166626;
    for (std::size_t r = 0; r < samples.size(); ++r)
      times.push_back(static_cast<float>((static_cast<double>(r) + 0.5) * step));
  }
  drive.telemetry = encodeTelFile(version, shape.layout, samples, times);
}

// Frames of the drive: a given count, or the out-lap from 60 % of a lap, the full laps and
// 30 % of an in-lap, found on a simulation that runs long enough.
std::vector<CarState> simulateFrames(const SimOptions& options, const TrackShape& track, int lead) {
  if (options.frames > 0)
    return simulateDrive(track, options.fps, options.frames + lead, kStartFraction, options.seed);
  double laps = (1.0 - kStartFraction) + options.laps + 1.0;
  int generous = static_cast<int>(laps * track.lengthMetres / 25.0 * options.fps) + lead;
  std::vector<CarState> states =
      simulateDrive(track, options.fps, generous, kStartFraction, options.seed);
  std::int32_t inLapEnd = static_cast<std::int32_t>(0.3 * track.lengthUnits);
  for (std::size_t i = static_cast<std::size_t>(lead); i < states.size(); ++i) {
    if (states[i].lap == options.laps + 1 && states[i].distance >= inLapEnd) {
      states.resize(i);
      break;
    }
  }
  return states;
}

}  // namespace

Drive generateDrive(const SimOptions& options) {
  Drive drive;
  TrackShape track = trackOf(options);
  int lead = timeStepped(options) ? 0 : kTelemetryLead;
  std::vector<CarState> states = simulateFrames(options, track, lead);
  drive.telemetryLead = lead;
  buildReplay(options, states, lead, drive);
  buildTelemetry(options, states, drive);
  return drive;
}

Status driveFromTelemetry(const SimOptions& options, const std::vector<std::uint8_t>& tel,
                          Drive& out) {
  ByteReader in(tel);
  TelFileShape shape = telFileShape(in.i32());
  if (shape.layout == TelLayout::kTimeStepped)
    return Status::error("time-stepped telemetry has no distances to follow");
  std::vector<CarState> states;
  for (std::size_t at = shape.dataOffset;
       at + static_cast<std::size_t>(shape.recordSize) <= tel.size();
       at += static_cast<std::size_t>(shape.recordSize)) {
    CarState car;
    car.telemetry = decodeTelRecord(
        shape.layout, std::span(tel.data() + at, static_cast<std::size_t>(shape.recordSize)));
    car.distance = frameDistanceOf(car.telemetry[TelemetrySample::kLapDistance]);
    car.speedKmh = car.telemetry[TelemetrySample::kSpeed];
    car.rpm = car.telemetry[TelemetrySample::kRpm];
    car.gear = std::clamp(1 + static_cast<int>(car.speedKmh / 50.0), 1, 5);
    if (!states.empty())
      car.lap = states.back().lap + (car.distance + 40000 < states.back().distance ? 1 : 0);
    states.push_back(car);
  }
  out = Drive{};
  buildReplay(options, states, 0, out);
  return Status::ok();
}

Status writeDriveFolder(const SimOptions& options, const Drive& drive, const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path root = fs::absolute(dir, error);
  fs::path gpl = root / "gpl";
  fs::create_directories(gpl / "replay", error);
  fs::create_directories(gpl / "tracks" / options.trackName, error);
  if (error) return Status::error(root.string() + ": " + error.message());
  auto write = [](const fs::path& path, const void* data, std::size_t size) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file.good() ? Status::ok() : Status::error(path.string() + ": cannot be written");
  };
  std::string ini = gpl.string() + "/";
  char trackIni[128];
  std::snprintf(trackIni, sizeof trackIni, "[track]\nname = %s\ntrack_length = %.3f miles\n",
                options.trackName.c_str(), options.trackMiles);
  fs::path replay = gpl / "replay" / (options.name + ".rpy");
  std::string ping = std::to_string(options.pingFrames) + "\n";
  for (Status status :
       {write(root / "Vantor.ini", ini.data(), ini.size()),
        write(root / "Ping.ini", ping.data(), ping.size()),
        write(gpl / "tracks" / options.trackName / "track.ini", trackIni, std::strlen(trackIni)),
        write(replay, drive.replay.data(), drive.replay.size())}) {
    if (!status) return status;
  }
  if (!drive.telemetry.empty()) {
    fs::path tel = replay;
    tel.replace_extension(".tel");
    if (Status status = write(tel, drive.telemetry.data(), drive.telemetry.size()); !status)
      return status;
  }
  return Status::ok();
}

}  // namespace lv::sim
