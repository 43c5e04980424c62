#pragma once

#include <cmath>

#include "FakeDrive.h"
#include "telemetry/TelemetrySample.h"

namespace lv::testing {

// The sample a reader makes of one fakegame frame: the values as they lie in memory, and
// the speed and torque worked out the way the reader does.
inline TelemetrySample expectedSample(const fakegame::GameFrame& f,
                                      const fakegame::TorqueCurve& curve) {
  using T = TelemetrySample;
  TelemetrySample s;
  for (int w = 0; w < 4; ++w) {
    const fakegame::WheelState& wheel = f.wheels[static_cast<std::size_t>(w)];
    for (int k = 0; k < 3; ++k) {
      s[T::contactPatchTemp(w, k)] = wheel.contactPatchTemp[static_cast<std::size_t>(k)];
      s[T::tyreTemp(w, k)] = wheel.tyreTemp[static_cast<std::size_t>(k)];
    }
    s[T::wear(w)] = wheel.wear;
  }
  s[T::kLapDistance] = f.lapDistance;
  s[T::kClutch] = f.clutch;
  s[T::kMapX] = f.mapX;
  s[T::kMapY] = f.mapY;
  s[T::kThrottle] = f.throttle;
  s[T::kBrake] = f.brake;
  s[T::kRpm] = f.rpm;
  s[T::kSpeed] = std::sqrt(f.velocity0 * f.velocity0 + f.velocity1 * f.velocity1) * 3.6f;
  int i = static_cast<int>((f.rpm - 200.0f) * 0.005f);
  float share = (f.rpm - static_cast<float>(i) * 200.0f - 200.0f) * 0.005f;
  float c0 = curve.at(static_cast<std::size_t>(i));
  float c1 = curve.at(static_cast<std::size_t>(i + 1));
  s[T::kTorque] = f.throttle * (c0 * (1.0f - share) + c1 * share);
  s[T::kVertForce] = f.vertForce;
  s[T::kLatForce] = f.latForce;
  s[T::kLongForce] = f.longForce;
  s[T::kFuel] = f.fuel;
  return s;
}

// The frame a sample came from: the fakegame's fuel falls by 0.25 a frame from 1000.
inline int frameOfFuel(float fuel) {
  return static_cast<int>(std::lround((1000.0f - fuel) / 0.25f));
}

}  // namespace lv::testing
