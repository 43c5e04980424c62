#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "logger/AddressTable.h"

namespace lv::fakegame {

struct DriveParameters {
  double rateHz = 36.0;  // clock changes per second
  double durationSeconds = 60.0;
  double trackLengthMetres = 1500.0;
  int seed = 1;
};

struct WheelState {
  std::array<float, 3> contactPatchTemp{};
  std::array<float, 3> tyreTemp{};
  float wear = 0.0f;
};

// Every value the game exposes for one frame, as it lies in the game's memory.
struct GameFrame {
  float clock = 0, rpm = 0, mapX = 0, mapY = 0, velocity0 = 0, velocity1 = 0;
  float throttle = 0, brake = 0, clutch = 0, spare1 = 0;
  float lapDistance = 0, spare2 = 0, fuel = 0;
  float latForce = 0, longForce = 0, vertForce = 0;
  std::array<WheelState, 4> wheels{};
};

inline constexpr int kTorquePoints = 33;
using TorqueCurve = std::array<float, kTorquePoints>;

// Number of frames a drive shows.
int frameCount(const DriveParameters& drive);
// Frame n of the drive: every value is a fixed function of n and the seed. The fuel falls by
// exactly 0.25 per frame from 1000, which tells a frame from its values.
GameFrame frameAt(int n, const DriveParameters& drive);
TorqueCurve torqueCurve(const DriveParameters& drive);

// Where one version keeps its values: the rows of the address table that the reader uses.
struct MemoryLayout {
  std::array<std::uint32_t, kBlocks> row{};       // the version's row
  std::array<std::uint32_t, kBlocks> wheelRow{};  // wheel arrays always come from this row
};
MemoryLayout layoutFor(const AddressTable& table, int versionRow);

using FloatWriter = std::function<void(std::uint32_t address, float value)>;
void writeTorqueCurve(const TorqueCurve& curve, const MemoryLayout& layout,
                      const FloatWriter& write);
// Writes all values of a frame; the clock comes last, so a reader that sees it change finds
// the frame complete.
void writeFrame(const GameFrame& frame, const MemoryLayout& layout, const FloatWriter& write);

// Address ranges [first, last) the drive writes into or the reader reads from.
std::vector<std::pair<std::uint32_t, std::uint32_t>> memoryRanges(const MemoryLayout& layout);

// Bytes of a program file that detectVersion recognises as `version`.
std::string programFileImage(std::string_view version);

}  // namespace lv::fakegame
