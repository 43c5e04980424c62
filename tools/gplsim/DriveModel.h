#pragma once

#include <cstdint>
#include <vector>

#include "telemetry/TelemetrySample.h"

namespace lv::sim {

// The car at one frame of the simulated drive.
struct CarState {
  std::int32_t distance = 0;  // 1/2000 m from the line, a multiple of 125 (1/16 m)
  int lap = 0;                // line crossings so far
  double speedKmh = 0;
  double accelerationMs2 = 0;
  double curvature = 0;  // 1/m, signed
  int gear = 1;
  double rpm = 0;
  double heading = 0;         // radians
  TelemetrySample telemetry;  // what the logger would record
};

struct TrackShape {
  std::int32_t lengthUnits;  // 1/2000 m
  double lengthMetres;
};

// A car that laps a closed track at `fps`, starting `startFraction` into a lap; state i is
// the car after i frames. Small per-lap variations come from the seed.
std::vector<CarState> simulateDrive(const TrackShape& track, int fps, int frameCount,
                                    double startFraction, std::uint32_t seed);

// Frame distance as the viewer compares it with a telemetry distance.
std::int32_t frameDistanceOf(float metres);

}  // namespace lv::sim
