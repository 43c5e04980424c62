#include "viewer/load/CarRecord.h"

namespace lv {
namespace {

std::int32_t signedBits(std::int32_t value, int bits) {
  return value > (1 << (bits - 1)) - 1 ? value - (1 << bits) : value;
}

}  // namespace

CarRecordFields decodeCarRecord(const std::uint8_t (&r)[kCarRecordSize]) {
  CarRecordFields f{};
  f.recordId = r[7] / 4;
  f.distance = r[4] + 256 * r[5] + 65536 * r[6] + 16777216 * (r[7] & 3);
  f.pitch = signedBits((r[1] >> 3) + 32 * (r[2] & 31), 10);
  f.replayRpm = (r[2] >> 4) + 8 * r[3] - 5;
  f.speed = (signedBits(r[8] + 256 * r[9], 16) * 16 + 4) / 100;
  f.input5 = ((r[10] >> 7) + 2 * r[11]) * 4 + 1;
  f.steering = signedBits((r[12] >> 1) & 63, 6) * 2 + 1;
  f.low2 = r[13] & 3;
  f.yaw = ((r[13] >> 2) + 64 * (r[14] & 7)) * 8 + 3;
  f.roll = signedBits((r[14] >> 3) + 32 * (r[15] & 31), 10);
  f.gear = (r[15] >> 5) - 1;
  return f;
}

}  // namespace lv
