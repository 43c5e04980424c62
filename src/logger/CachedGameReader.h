#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "logger/AddressTable.h"
#include "logger/Clock.h"
#include "logger/GameReader.h"
#include "logger/LogFormat.h"
#include "logger/ProcessApi.h"

namespace lv {

// GameReader over the game's memory, served from 64 blocks of 128 bytes, each fetched at
// most once per 27 ms.
class CachedGameReader final : public GameReader {
 public:
  CachedGameReader(ProcessApi& processes, Clock& clock, const AddressTable& addresses,
                   LogFormat format);
  ~CachedGameReader() override;

  // The process-wide reader, created by the first call; later calls ignore their arguments.
  static GameReader& instance(ProcessApi& processes, Clock& clock, const AddressTable& addresses,
                              LogFormat format);

  int attach(const std::string& exeName, const std::string& exePath, float timeoutSeconds,
             const std::string& versionOverride) override;
  bool detach() override;
  bool isRunning() override;
  std::string versionText() const override { return versionText_; }
  float readClock() override { return blockFloat(block::kClock, 0); }
  float readRpm() override { return blockFloat(block::kEngine, 0); }
  float readSpare1() override { return blockFloat(block::kPedals, 12); }
  float readMapX() override { return blockFloat(block::kEngine, 12); }
  float readMapY() override { return blockFloat(block::kEngine, 20); }
  float readVelocity0() override { return blockFloat(block::kEngine, 16); }
  float readVelocity1() override { return blockFloat(block::kEngine, 24); }
  float readLapDistance() override { return blockFloat(block::kLap, 0); }
  float readSpare2() override { return blockFloat(block::kLap, 4); }
  bool readWheelArray(int index, float* destination) override;
  float readUnsupportedFloat(int, int) override { return -1.0f; }
  int readUnsupportedInt() override { return -1; }
  float readFuel() override;
  float readThrottle() override { return blockFloat(block::kPedals, 0); }
  float readBrake() override { return blockFloat(block::kPedals, 4); }
  float readClutch() override { return blockFloat(block::kPedals, 8); }
  float readTorque() override;
  float readMaxTorque() override;
  float readVertForce() override { return blockFloat(block::kForces, 8); }
  float readLatForce() override { return blockFloat(block::kForces, 0); }
  float readLongForce() override { return blockFloat(block::kForces, 4); }
  float readSpeed() override;
  float readSpeedKmh() override { return readSpeed() * 3.6f; }
  float readSpeedScaled() override { return readSpeed() * 2.25f; }
  std::uint64_t microsecondsUntilSampleRefresh() override;
  float peekClock() override;
  ProcessChoice processChoice() const override { return processChoice_; }

  int versionRow() const { return versionRow_; }

 private:
  using Block = std::array<std::uint8_t, kBlockBytes>;

  float blockFloat(int blockIndex, int offset);
  float blockFloatAt(int blockIndex, int offset, std::uint32_t address);
  // Reads `size` bytes into the start of a cache block; on failure the block keeps its bytes.
  void readInto(int blockIndex, std::uint32_t address, std::size_t size);
  float cachedFloat(int blockIndex, int offset) const;
  std::uint32_t rowAddress(int column) const;

  ProcessApi& processes_;
  Clock& clock_;
  AddressTable addresses_;
  LogFormat format_;

  int processId_ = -1;
  ProcessHandle processHandle_ = 0;
  std::string exePath_;
  std::string exeName_;
  std::string versionText_;
  ProcessChoice processChoice_;
  int versionRow_ = -1;
  std::uint64_t refreshTicks_ = 0;
  std::array<std::uint64_t, kBlocks> lastRead_{};
  std::array<Block, kBlocks> blockCache_{};
};

}  // namespace lv
