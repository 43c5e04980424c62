#include "FakeDrive.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "logger/GameVersion.h"

namespace lv::fakegame {
namespace {

constexpr double kBaseSpeed = 40.0;  // m/s
constexpr double kSpeedSwing = 15.0;
constexpr double kSpeedRate = 0.3;  // rad/s
constexpr double kMapRadius = 1000.0;

double phaseOf(const DriveParameters& drive) {
  return 0.7 * drive.seed;
}

double distanceAt(double t, double phase) {
  return kBaseSpeed * t -
         kSpeedSwing / kSpeedRate * (std::cos(kSpeedRate * t + phase) - std::cos(phase));
}

WheelState wheelAt(int wheel, int n, double t, double phase) {
  WheelState state;
  for (int k = 0; k < 3; ++k) {
    double wave = std::sin(0.1 * t + phase + wheel + 0.3 * k);
    state.contactPatchTemp[static_cast<std::size_t>(k)] =
        static_cast<float>(360.0 + 4 * wheel + k + 12.0 * wave);
    state.tyreTemp[static_cast<std::size_t>(k)] =
        static_cast<float>(345.0 + 3 * wheel + k + 6.0 * wave);
  }
  state.wear = static_cast<float>(1.0 - 0.00001 * n * (wheel + 1));
  return state;
}

}  // namespace

int frameCount(const DriveParameters& drive) {
  return static_cast<int>(std::llround(drive.durationSeconds * drive.rateHz));
}

GameFrame frameAt(int n, const DriveParameters& drive) {
  double t = n / drive.rateHz;
  double phase = phaseOf(drive);
  double speed = kBaseSpeed + kSpeedSwing * std::sin(kSpeedRate * t + phase);
  double lap = std::fmod(distanceAt(t, phase), drive.trackLengthMetres);
  double heading = 2.0 * std::numbers::pi * lap / drive.trackLengthMetres;
  double pedal = std::sin(0.9 * t + phase);

  GameFrame f;
  f.clock = static_cast<float>(100.0 + t);
  f.lapDistance = static_cast<float>(lap);
  f.mapX = static_cast<float>(kMapRadius * std::cos(heading));
  f.mapY = static_cast<float>(kMapRadius * std::sin(heading));
  f.velocity0 = static_cast<float>(-speed * std::sin(heading));
  f.velocity1 = static_cast<float>(speed * std::cos(heading));
  f.rpm = static_cast<float>(2000.0 + 70.0 * speed);
  f.throttle = static_cast<float>(pedal > 0 ? pedal : 0.0);
  f.brake = static_cast<float>(pedal < 0 ? -pedal : 0.0);
  f.clutch = static_cast<float>(0.05 * (1.0 + std::sin(2.0 * t)));
  f.spare1 = 1.0f;
  f.spare2 = 2.0f;
  f.fuel = 1000.0f - 0.25f * static_cast<float>(n);
  f.latForce = static_cast<float>(5000.0 * std::sin(3.0 * heading));
  f.longForce = static_cast<float>(3000.0 * pedal);
  f.vertForce = static_cast<float>(20000.0 + 2000.0 * std::sin(1.7 * t));
  for (int wheel = 0; wheel < 4; ++wheel)
    f.wheels[static_cast<std::size_t>(wheel)] = wheelAt(wheel, n, t, phase);
  return f;
}

TorqueCurve torqueCurve(const DriveParameters& drive) {
  TorqueCurve curve{};
  for (int i = 0; i < kTorquePoints; ++i) {
    double rpm = 200.0 * (i + 1);
    curve[static_cast<std::size_t>(i)] =
        static_cast<float>(150.0 + 0.04 * rpm - 0.0000045 * rpm * rpm + drive.seed % 7);
  }
  return curve;
}

MemoryLayout layoutFor(const AddressTable& table, int versionRow) {
  return {table[static_cast<std::size_t>(versionRow)], table[kWheelRow]};
}

void writeTorqueCurve(const TorqueCurve& curve, const MemoryLayout& layout,
                      const FloatWriter& write) {
  for (int i = 0; i < kTorquePoints; ++i)
    write(layout.row[block::kTorqueCurve] + 4u * static_cast<std::uint32_t>(i),
          curve[static_cast<std::size_t>(i)]);
}

void writeFrame(const GameFrame& f, const MemoryLayout& layout, const FloatWriter& write) {
  auto at = [&layout](int column, std::uint32_t offset) {
    return layout.row[static_cast<std::size_t>(column)] + offset;
  };
  write(at(block::kEngine, 0), f.rpm);
  write(at(block::kEngine, 12), f.mapX);
  write(at(block::kEngine, 16), f.velocity0);
  write(at(block::kEngine, 20), f.mapY);
  write(at(block::kEngine, 24), f.velocity1);
  write(at(block::kPedals, 0), f.throttle);
  write(at(block::kPedals, 4), f.brake);
  write(at(block::kPedals, 8), f.clutch);
  write(at(block::kPedals, 12), f.spare1);
  write(at(block::kLap, 0), f.lapDistance);
  write(at(block::kLap, 4), f.spare2);
  write(kFuelAddress, f.fuel);
  write(at(block::kFuel, 0), f.fuel);  // where a format-5 reader looks for it
  write(at(block::kForces, 0), f.latForce);
  write(at(block::kForces, 4), f.longForce);
  write(at(block::kForces, 8), f.vertForce);
  for (int wheel = 0; wheel < 4; ++wheel) {
    const WheelState& w = f.wheels[static_cast<std::size_t>(wheel)];
    std::uint32_t temps = layout.wheelRow[static_cast<std::size_t>(block::kWheel0 + wheel)];
    for (std::uint32_t k = 0; k < 3; ++k) {
      write(temps + 4 * k, w.contactPatchTemp[k]);
      write(temps + 12 + 4 * k, w.tyreTemp[k]);
    }
    write(temps - 20, w.wear);
  }
  write(at(block::kClock, 0), f.clock);
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> memoryRanges(const MemoryLayout& layout) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges;
  for (int column = 0; column <= block::kForces; ++column) {
    std::uint32_t first = layout.row[static_cast<std::size_t>(column)];
    // The torque curve is read around the rpm's point, a little past its 33 values.
    std::uint32_t size = column == block::kTorqueCurve ? 4 * (kTorquePoints + 16) : kBlockBytes;
    ranges.emplace_back(first, first + size);
  }
  ranges.emplace_back(kFuelAddress, kFuelAddress + kBlockBytes);
  for (int wheel = 0; wheel < 4; ++wheel) {
    std::uint32_t temps = layout.wheelRow[static_cast<std::size_t>(block::kWheel0 + wheel)];
    ranges.emplace_back(temps - 40, temps + 24);
  }
  return ranges;
}

std::string programFileImage(std::string_view version) {
  std::string image(kMarkerOffset12020 + 64, '\0');
  auto put = [&image](std::size_t offset, std::uint32_t word) {
    for (int i = 0; i < 4; ++i)
      image[offset + static_cast<std::size_t>(i)] = static_cast<char>(word >> (8 * i));
  };
  if (version == kVersion101A || version == kVersion101B) {
    put(kMarkerOffset12010, kVersionMarker);
    put(kBuildWordOffset12010, version == kVersion101A ? 0x0079BFF0 : 0x0079BFF8);
  } else if (version == kVersion102A || version == kVersion102B) {
    put(kMarkerOffset12020, kVersionMarker);
    put(kBuildWordOffset12020, version == kVersion102A ? 0x0079B928 : 0x0079B930);
  }
  return image;
}

}  // namespace lv::fakegame
