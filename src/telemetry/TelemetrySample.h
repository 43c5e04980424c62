#pragma once

#include <array>
#include <cstddef>

namespace lv {

// One telemetry sample in the layout of format version 7 (41 floats); every other format
// version is a projection of it (see TelFormat.h).
struct TelemetrySample {
  static constexpr int kFloats = 41;

  // Float indices.
  static constexpr int kLapDistance = 0;
  static constexpr int kClutch = 1;
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
  static constexpr int kFuel = 40;
  static constexpr int contactPatchTemp(int wheel, int value) { return 12 + 6 * wheel + value; }
  static constexpr int tyreTemp(int wheel, int value) { return 15 + 6 * wheel + value; }
  static constexpr int wear(int wheel) { return 36 + wheel; }

  std::array<float, kFloats> values{};

  float& operator[](int index) { return values[static_cast<std::size_t>(index)]; }
  float operator[](int index) const { return values[static_cast<std::size_t>(index)]; }
};

static_assert(sizeof(TelemetrySample) == 164, "a sample is the 164-byte record of version 7");

}  // namespace lv
