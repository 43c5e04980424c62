#include "viewer/load/CarStateDecoder.h"

namespace lv {

void decodeCarState(const std::uint8_t (&bytes)[28], FrameRecord& frame) {
  auto b = [&bytes](int i) { return static_cast<std::int32_t>(bytes[i]); };
  std::int32_t* f = frame.f;
  f[0] = b(0) + 256 * b(1) + 65536 * b(2) + 16777216 * (b(3) & 3);
  f[2] = ((b(3) >> 3) & 7) - 1;
  f[4] = signedBits(b(4) + 256 * b(5) + 65536 * (b(6) & 15), 20) / 100;
  f[5] = (b(6) >> 4) + 16 * b(7);
  f[6] = b(8) + 256 * (b(9) & 3);
  f[7] = (b(9) >> 2) + 64 * (b(10) & 63);
  f[8] = signedBits((b(10) >> 6) + 4 * b(11), 10);
  f[9] = signedBits(b(12) + 256 * (b(13) & 3), 10);
  f[10] = (b(13) >> 2) + 64 * (b(14) & 1);
  f[11] = (b(14) >> 1) + 128 * (b(15) & 1);
  f[3] = signedBits(b(15) >> 1, 7);
  f[16] = (b(16) >> 5) + 8 * (b(17) & 15);
  f[12] = signedBits((b(17) >> 4) + 16 * (b(18) & 31), 9);
  f[17] = b(19) >> 1;
  f[13] = signedBits((b(20) >> 2) + 64 * (b(21) & 7), 9);
  f[18] = (b(21) >> 7) + 2 * (b(22) & 63);
  f[14] = signedBits((b(22) >> 6) + 4 * (b(23) & 127), 9);
  f[19] = (b(24) >> 5) + 8 * (b(25) & 15);
  f[15] = signedBits((b(25) >> 4) + 16 * (b(26) & 63), 10);
  f[25] = (b(26) >> 6) + 4 * b(27);
}

}  // namespace lv
