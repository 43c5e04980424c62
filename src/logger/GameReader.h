#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "logger/ProcessApi.h"

namespace lv {

// Which process attach took, and the others whose names matched as well.
struct ProcessChoice {
  ProcessEntry taken;
  std::vector<ProcessEntry> others;
};

// The logger's only window into the running game. The operations are declared in the order
// of the reader's operation table; the last ones are additions for the sampling loop and the
// console.
class GameReader {
 public:
  virtual ~GameReader() = default;

  // Waits up to `timeoutSeconds` for a process named `exeName`, then recognises the version
  // from `exePath` (or takes `versionOverride` when it is not empty).
  // 0: process not found in time, 2: program file not found, 1: otherwise.
  virtual int attach(const std::string& exeName, const std::string& exePath, float timeoutSeconds,
                     const std::string& versionOverride) = 0;
  virtual bool detach() = 0;  // always false
  virtual bool isRunning() = 0;
  virtual std::string versionText() const = 0;
  virtual float readClock() = 0;
  virtual float readRpm() = 0;
  virtual float readSpare1() = 0;
  virtual float readMapX() = 0;
  virtual float readMapY() = 0;
  virtual float readVelocity0() = 0;
  virtual float readVelocity1() = 0;
  virtual float readLapDistance() = 0;
  virtual float readSpare2() = 0;
  // Index 0..3: the six temperatures of wheel `index`; 4..7: the wear of wheel index - 4.
  virtual bool readWheelArray(int index, float* destination) = 0;
  virtual float readUnsupportedFloat(int first, int second) = 0;
  virtual int readUnsupportedInt() = 0;
  virtual float readFuel() = 0;
  virtual float readThrottle() = 0;
  virtual float readBrake() = 0;
  virtual float readClutch() = 0;
  virtual float readTorque() = 0;
  virtual float readMaxTorque() = 0;
  virtual float readVertForce() = 0;
  virtual float readLatForce() = 0;
  virtual float readLongForce() = 0;
  virtual float readSpeed() = 0;
  virtual float readSpeedKmh() = 0;
  virtual float readSpeedScaled() = 0;

  // How long until every block a sample reads may be fetched afresh. An idle loop that sleeps
  // this long before it reads the clock gets the clock and all values of the sample from the
  // same moment of the game.
  virtual std::uint64_t microsecondsUntilSampleRefresh() = 0;
  // The game's clock as it is right now, read past the cache without changing what the cache
  // serves: it tells the idle loop when the clock has moved, so that the cached fetch follows
  // the change closely instead of landing at a random point of the game's frame.
  virtual float peekClock() = 0;
  virtual ProcessChoice processChoice() const = 0;
};

}  // namespace lv
