#pragma once

#include <array>
#include <cstdint>

#include "tools/gplsim/DriveModel.h"

namespace lv::sim {

// One car's entry in the per-car table of a multiplayer replay frame, as raw values of the
// bit fields the game packs into 16 bytes.
struct CarRecordValues {
  std::int32_t distance = 0;  // 26 bits, 1/2000 m
  int gear = 1;               // 3 bits hold gear + 1
  int steering = 0;           // signed 6 bits
  int speed = 0;              // signed 16 bits, km/h x 6.25
  int throttle = 0;           // 9 bits
  int rpm = 0;                // rpm / 10, up to 2047; its lowest bit is pitch bit 9
  int yaw = 0;                // 9 bits
  int pitch = 0;              // signed 10 bits
  int roll = 0;               // signed 10 bits
  int lapBits = 0;            // 2 bits
};

CarRecordValues carRecordValues(const CarState& car);

// Position and speed from `now`, the driver's inputs from `inputs` (an earlier state when the
// recording receives them late).
CarRecordValues delayedInputs(CarRecordValues now, const CarRecordValues& inputs);

std::array<std::uint8_t, 16> encodeCarRecord(const CarRecordValues& values, std::int32_t recordId);

// The frame fields 0, 2..9 and 22 that the viewer shows for these values.
void shownFields(const CarRecordValues& values, std::int32_t (&fields)[26]);

}  // namespace lv::sim
