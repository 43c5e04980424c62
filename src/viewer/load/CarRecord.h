#pragma once

#include <cstdint>

namespace lv {

inline constexpr int kCarRecordSize = 16;

// One car's 16-byte record in the per-car table that closes a replay frame of a multiplayer
// recording, decoded into the frame fields it fills.
struct CarRecordFields {
  std::int32_t recordId;   // byte 7 / 4
  std::int32_t distance;   // field 0, 1/2000 m
  std::int32_t gear;       // field 2
  std::int32_t steering;   // field 3
  std::int32_t speed;      // field 4
  std::int32_t input5;     // field 5
  std::int32_t replayRpm;  // field 6
  std::int32_t yaw;        // field 7
  std::int32_t pitch;      // field 8
  std::int32_t roll;       // field 9
  std::int32_t low2;       // field 22
};

CarRecordFields decodeCarRecord(const std::uint8_t (&r)[kCarRecordSize]);

}  // namespace lv
