#include "logger/CachedGameReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "logger/GameVersion.h"
#include "logger/ProcessFinder.h"

namespace lv {
namespace {

constexpr int kTorquePoints = 33;
constexpr std::uint64_t kRefreshMilliseconds = 27;
// The game takes seconds to start, so a quarter second between searches of the process list
// costs no time worth noticing, where a search every 30 ms kept a good part of a core busy.
constexpr std::uint64_t kSearchIntervalMicroseconds = 250000;
// Each wait counts a millisecond more than it sleeps, for the search itself.
constexpr float kSearchIntervalSeconds = 0.251f;

// The blocks one sample is served from; the torque curve and the wheels are read afresh on
// every call anyway.
constexpr int kSampleBlocks[] = {block::kEngine, block::kPedals, block::kLap,
                                 block::kClock,  block::kFuel,   block::kForces};

// trunc towards zero; values outside the int range (and NaN) give an index far off the curve
// instead of undefined behaviour; the read there simply fails.
std::int32_t truncatedIndex(float value) {
  if (!(value > -2147483648.0f && value < 2147483648.0f))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace

CachedGameReader::CachedGameReader(ProcessApi& processes, Clock& clock,
                                   const AddressTable& addresses, LogFormat format)
    : processes_(processes),
      clock_(clock),
      addresses_(addresses),
      format_(format),
      versionText_(kNoVersionDetected),
      refreshTicks_(clock.ticksPerSecond() * kRefreshMilliseconds / 1000) {}

CachedGameReader::~CachedGameReader() {
  if (processHandle_ != 0) processes_.close(processHandle_);
}

GameReader& CachedGameReader::instance(ProcessApi& processes, Clock& clock,
                                       const AddressTable& addresses, LogFormat format) {
  static CachedGameReader reader(processes, clock, addresses, format);
  return reader;
}

int CachedGameReader::attach(const std::string& exeName, const std::string& exePath,
                             float timeoutSeconds, const std::string& versionOverride) {
  float elapsed = 0.0f;
  if (!(timeoutSeconds > 0.0f)) return 0;
  std::vector<ProcessEntry> matches;
  while (true) {
    matches = matchingProcesses(processes_, exeName);
    if (!matches.empty()) break;
    clock_.sleepMicroseconds(kSearchIntervalMicroseconds);
    elapsed += kSearchIntervalSeconds;
    if (!(elapsed < timeoutSeconds)) return 0;
  }
  // The last one listed is taken; the others are kept to be named on the console.
  processChoice_.taken = matches.back();
  matches.pop_back();
  processChoice_.others = std::move(matches);
  processId_ = processChoice_.taken.id;
  exeName_ = exeName;
  exePath_ = exePath;
  if (processHandle_ != 0) processes_.close(processHandle_);
  processHandle_ = processes_.openForReading(processId_);
  versionText_ = versionOverride.empty() ? detectVersion(exePath) : versionOverride;
  if (versionText_ == kFileNotFound) return 2;
  if (auto row = addressRowOf(versionText_)) versionRow_ = *row;
  return 1;
}

bool CachedGameReader::detach() {
  versionRow_ = -1;
  if (processHandle_ != 0) processes_.close(processHandle_);
  processHandle_ = 0;
  return false;
}

bool CachedGameReader::isRunning() {
  if (versionRow_ == -1) return false;
  // The attached process still matching answers the question without listing every process.
  if (auto name = processes_.processName(processId_); name && processNameMatches(*name, exeName_))
    return true;
  return findProcess(processes_, exeName_).found;
}

std::uint32_t CachedGameReader::rowAddress(int column) const {
  return addresses_[static_cast<std::size_t>(versionRow_)][static_cast<std::size_t>(column)];
}

void CachedGameReader::readInto(int blockIndex, std::uint32_t address, std::size_t size) {
  if (versionRow_ < 0) return;  // no game attached: keep serving what was read
  Block fresh{};
  if (processes_.readMemory(processHandle_, address, std::span(fresh.data(), size)))
    std::memcpy(blockCache_[static_cast<std::size_t>(blockIndex)].data(), fresh.data(), size);
}

float CachedGameReader::cachedFloat(int blockIndex, int offset) const {
  float value;
  std::memcpy(&value, blockCache_[static_cast<std::size_t>(blockIndex)].data() + offset,
              sizeof value);
  return value;
}

float CachedGameReader::blockFloatAt(int blockIndex, int offset, std::uint32_t address) {
  std::uint64_t now = clock_.ticks();
  std::uint64_t& last = lastRead_[static_cast<std::size_t>(blockIndex)];
  if (now - last > refreshTicks_) {
    readInto(blockIndex, address, kBlockBytes);
    last = now;
  }
  return cachedFloat(blockIndex, offset);
}

float CachedGameReader::blockFloat(int blockIndex, int offset) {
  std::uint32_t address = versionRow_ < 0 ? 0 : rowAddress(blockIndex);
  return blockFloatAt(blockIndex, offset, address);
}

float CachedGameReader::readFuel() {
  if (format_ == LogFormat::kVersion5) return blockFloat(block::kFuel, 0);
  return blockFloatAt(block::kFuel, 0, kFuelAddress);
}

float CachedGameReader::readSpeed() {
  float v0 = readVelocity0();
  float v1 = readVelocity1();
  return std::sqrt(v0 * v0 + v1 * v1);
}

float CachedGameReader::readTorque() {
  float rpm = readRpm();
  std::int32_t i = truncatedIndex((rpm - 200.0f) * 0.005f);
  if (versionRow_ >= 0) {
    std::uint32_t address = rowAddress(block::kTorqueCurve) + 4u * static_cast<std::uint32_t>(i);
    readInto(block::kTorqueCurve, address, 8);
  }
  float f = (rpm - static_cast<float>(i) * 200.0f - 200.0f) * 0.005f;
  float c0 = cachedFloat(block::kTorqueCurve, 0);
  float c1 = cachedFloat(block::kTorqueCurve, 4);
  return readThrottle() * (c0 * (1.0f - f) + c1 * f);
}

float CachedGameReader::readMaxTorque() {
  std::array<float, kTorquePoints> curve{};
  if (versionRow_ >= 0) {
    processes_.readMemory(processHandle_, rowAddress(block::kTorqueCurve),
                          std::span(reinterpret_cast<std::uint8_t*>(curve.data()), sizeof curve));
  }
  float largest = curve[0];
  for (float value : curve)
    if (value > largest) largest = value;
  return largest;
}

bool CachedGameReader::readWheelArray(int index, float* destination) {
  int wheel = index & 3;
  int slot = block::kWheel0 + wheel;
  std::uint32_t address = addresses_[kWheelRow][static_cast<std::size_t>(block::kWheel0 + wheel)];
  bool wear = index >= 4;
  if (wear) address -= format_ == LogFormat::kVersion5 ? 40u : 20u;
  readInto(slot, address, 24);
  const std::uint8_t* bytes = blockCache_[static_cast<std::size_t>(slot)].data();
  if (format_ == LogFormat::kVersion5) {
    std::memcpy(destination, bytes + 12, 3 * sizeof(float));
  } else {
    std::memcpy(destination, bytes, (wear ? 1 : 6) * sizeof(float));
  }
  return true;
}

std::uint64_t CachedGameReader::microsecondsUntilSampleRefresh() {
  std::uint64_t now = clock_.ticks();
  std::uint64_t ticksLeft = 0;
  for (int b : kSampleBlocks) {
    std::uint64_t since = now - lastRead_[static_cast<std::size_t>(b)];
    if (since <= refreshTicks_) ticksLeft = std::max(ticksLeft, refreshTicks_ - since + 1);
  }
  std::uint64_t perSecond = clock_.ticksPerSecond();
  return (ticksLeft * 1000000 + perSecond - 1) / perSecond;
}

float CachedGameReader::peekClock() {
  if (versionRow_ < 0) return cachedFloat(block::kClock, 0);
  float value;
  std::span bytes(reinterpret_cast<std::uint8_t*>(&value), sizeof value);
  if (!processes_.readMemory(processHandle_, rowAddress(block::kClock), bytes))
    return cachedFloat(block::kClock, 0);
  return value;
}

}  // namespace lv
