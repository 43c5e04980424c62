#pragma once

#include <cstdint>
#include <span>

#include "viewer/load/ViewerStores.h"

namespace lv {

// Fills the telemetry of frames s0 .. end-1 from a .tel file image, aligning its records to
// the frames by the distance from the start/finish line (or, for the time-stepped versions
// 2 and 3, by time). Frames that cannot be aligned keep zero telemetry.
void attachTelemetry(std::span<const std::uint8_t> telFile, ViewerStores& stores, int s0, int end,
                     int fps);

// Key of a telemetry distance in the units of the frame table.
std::int32_t distanceKey(float metres);

}  // namespace lv
