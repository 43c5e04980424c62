#pragma once

#include <array>
#include <cstdint>

#include "viewer/load/FixedTable.h"

namespace lv {

#ifdef LAPVISTA_SMALL_STORES
// Fuzzing builds only: inputs that declare many samples would otherwise walk half a million
// rows each, and the fuzzer would crawl.
inline constexpr int kSampleCapacity = 1024;
#else
inline constexpr int kSampleCapacity = 500000;
#endif
inline constexpr int kLapCapacity = 300;
inline constexpr int kChosenCapacity = 4;
inline constexpr int kRaceClockSeconds = 12000;
inline constexpr int kSegmentCapacity = 60;

inline constexpr std::int32_t kLapNotValid = 0x4000000;
inline constexpr std::int32_t kStartLap = 0x5000000;

// Decoded replay frame of the driven car.
struct FrameRecord {
  static constexpr int kDistance = 0;  // 1/2000 m from the start/finish line
  static constexpr int kFrameNumber = 1;
  static constexpr int kGear = 2;
  static constexpr int kSteering = 3;
  static constexpr int kLaneOffset = 4;
  static constexpr int kRideHeight = 5;
  static constexpr int kReplayRpm = 6;
  static constexpr int kYaw = 7;
  static constexpr int kPitch = 8;
  static constexpr int kRoll = 9;
  static constexpr int kSqueal = 10;
  static constexpr int kLapActive = 11;
  static constexpr int kSuspension0 = 12;  // wheels 0..3 at 12..15
  static constexpr int kWheelTurns0 = 16;  // wheels 0..3 at 16..19
  static constexpr int kClutch = 20;       // telemetry clutch x 10000
  static constexpr int kPlayerBlock3 = 22;
  static constexpr int kStatusWord = 23;
  static constexpr int kEngineTemps = 24;
  static constexpr int kOilPressure = 25;

  std::int32_t f[26];
};

struct TelemetryRecord {
  static constexpr int kMapX = 2;
  static constexpr int kMapY = 3;
  static constexpr int kThrottle = 4;
  static constexpr int kBrake = 5;
  static constexpr int kRpm = 6;
  static constexpr int kSpeed = 7;
  static constexpr int kTorque = 8;
  static constexpr int kVertForce = 9;
  static constexpr int kLatForce = 10;
  static constexpr int kLongForce = 11;
  static constexpr int tyreTemp(int wheel, int value) { return 12 + 3 * wheel + value; }

  float f[24];
};

struct ContactPatchRecord {
  float f[12];  // wheel w at 3w .. 3w + 2, kelvin
};

struct ExtraRecord {
  float f[4];  // tyre wear front left, front right, rear left, rear right
};

struct WheelTemps {
  float w[4];
};

// Everything the viewer has loaded: per-sample tables indexed by one global sample index,
// per-lap tables, and the scalars that describe them. Loads append; nothing is unloaded.
struct ViewerStores {
  ViewerStores();

  FixedTable<FrameRecord> frameTable{kSampleCapacity};
  FixedTable<TelemetryRecord> telemetryTable{kSampleCapacity};
  FixedTable<ContactPatchRecord> contactPatchTable{kSampleCapacity};
  FixedTable<ExtraRecord> extraTable{kSampleCapacity};
  FixedTable<float> trackDistanceStep{kSampleCapacity};
  FixedTable<float> headingTable{kSampleCapacity};
  FixedTable<WheelTemps> tyreTempAvg{kSampleCapacity};
  FixedTable<WheelTemps> contactPatchAvg{kSampleCapacity};

  std::array<std::int32_t, kLapCapacity + 1> lapStart{};
  std::array<std::int32_t, kLapCapacity> lapTime{};
  std::array<std::int32_t, kLapCapacity> lapCar{};
  std::array<std::array<char, 32>, kLapCapacity> lapDriver{};
  std::array<std::int32_t, kLapCapacity> lapFps{};
  std::array<std::int32_t, 5 * kLapCapacity + 1> lapSectorTimes{};

  std::array<std::int32_t, kChosenCapacity> selectedLaps{};
  int selectedCount = 0;
  int radioSlot = 0;

  int sampleCount = 0;
  int lapCount = 0;
  int loadFirstLap = 0;
  std::array<char, 9> trackName{};   // 8 bytes and a terminator
  std::array<char, 7> carSetName{};  // 6 bytes and a terminator
  std::int32_t trackLength = 0;
  int contactPatchMode = 0;
  std::array<float, 4> mapBounds{};  // min x, min y, max x, max y
  std::array<float, 3> tyreTempMin{};
  std::array<float, 3> tyreTempMax{};
  std::int32_t maxFrameDistance = 0;
  float maxRpm = 0.0f;
  std::array<std::int32_t, kRaceClockSeconds> raceClockBySecond{};
  std::array<std::int32_t, kSegmentCapacity> segmentStarts{};
  int segmentCount = 0;

  // Frame distance of sample `s`, or 0 for rows outside the store.
  std::int32_t frameDistance(int s) const {
    return s >= 0 && s < kSampleCapacity ? frameTable[static_cast<std::size_t>(s)].f[0] : 0;
  }
  int lapSampleCount(int lap) const { return lapStart[lap + 1] - lapStart[lap]; }

  // The reset before the first load of a run.
  void resetForFirstLoad();
};

// Nearest row inside the store for rules that look before the first or past the last row.
inline int clampRow(int s) {
  return s < 0 ? 0 : (s >= kSampleCapacity ? kSampleCapacity - 1 : s);
}

}  // namespace lv
