#include "tools/gplsim/CarTable.h"

#include <algorithm>
#include <cmath>

namespace lv::sim {

CarRecordValues carRecordValues(const CarState& car) {
  constexpr double kPi = 3.14159265358979323846;
  CarRecordValues v;
  double lateral = car.speedKmh / 3.6 * car.speedKmh / 3.6 * car.curvature;
  v.distance = car.distance;
  v.gear = std::clamp(car.gear, 0, 6);
  v.steering = std::clamp(static_cast<int>(car.curvature * 2000.0), -32, 31);
  v.speed = std::clamp(static_cast<int>(car.speedKmh * 6.25), -32768, 32767);
  v.throttle = std::clamp(static_cast<int>(car.accelerationMs2 * 60.0), 0, 511);
  v.rpm = std::clamp(static_cast<int>(car.rpm / 10.0), 0, 2047);
  v.yaw = static_cast<int>(std::fmod(car.heading / (2 * kPi) + 2.0, 1.0) * 512.0) & 511;
  v.pitch = std::clamp(static_cast<int>(car.accelerationMs2 * 20.0), -512, 511);
  v.roll = std::clamp(static_cast<int>(lateral * 12.0), -512, 511);
  v.lapBits = car.lap & 3;
  // Byte 2's bit 4 is both the top bit of the pitch and the lowest bit of the rpm.
  v.rpm = (v.rpm & ~1) | ((static_cast<std::uint32_t>(v.pitch) >> 9) & 1);
  return v;
}

CarRecordValues delayedInputs(CarRecordValues now, const CarRecordValues& inputs) {
  now.gear = inputs.gear;
  now.steering = inputs.steering;
  now.throttle = inputs.throttle;
  now.rpm = inputs.rpm;
  now.pitch = inputs.pitch;
  now.roll = inputs.roll;
  now.lapBits = inputs.lapBits;
  return now;
}

std::array<std::uint8_t, 16> encodeCarRecord(const CarRecordValues& v, std::int32_t recordId) {
  auto u = [](int value) { return static_cast<std::uint32_t>(value); };
  std::uint32_t distance = u(v.distance);
  std::uint32_t pitch = u(v.pitch) & 1023;
  std::uint32_t roll = u(v.roll) & 1023;
  std::uint32_t speed = u(v.speed) & 0xFFFF;
  std::array<std::uint32_t, 16> r{};
  // Bits no field uses are set, so that a decoder that does not mask them is caught.
  r[0] = 0xA5;
  r[1] = (pitch & 31) << 3 | 5;
  r[2] = ((pitch >> 5) & 31) | (u(v.rpm) % 8) << 4;
  r[3] = u(v.rpm) / 8;
  r[4] = distance & 255;
  r[5] = (distance >> 8) & 255;
  r[6] = (distance >> 16) & 255;
  r[7] = u(recordId) * 4 | ((distance >> 24) & 3);
  r[8] = speed & 255;
  r[9] = speed >> 8;
  r[10] = (u(v.throttle) & 1) << 7 | 0x55;
  r[11] = u(v.throttle) >> 1;
  r[12] = (u(v.steering) & 63) << 1 | 0x81;
  r[13] = (u(v.lapBits) & 3) | (u(v.yaw) & 63) << 2;
  r[14] = ((u(v.yaw) >> 6) & 7) | (roll & 31) << 3;
  r[15] = ((roll >> 5) & 31) | (u(v.gear + 1) & 7) << 5;
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(r[i]);
  return bytes;
}

void shownFields(const CarRecordValues& v, std::int32_t (&f)[26]) {
  f[0] = v.distance;
  f[2] = v.gear;
  f[3] = v.steering * 2 + 1;
  f[4] = (v.speed * 16 + 4) / 100;
  f[5] = v.throttle * 4 + 1;
  f[6] = v.rpm - 5;
  f[7] = v.yaw * 8 + 3;
  f[8] = v.pitch;
  f[9] = v.roll;
  f[22] = v.lapBits;
}

}  // namespace lv::sim
