#include <gtest/gtest.h>

#include <random>

#include "viewer/load/CarStateDecoder.h"

namespace lv {
namespace {

// The car-state fields as sums of masked bytes, one rule per field, the way the block's
// layout is written down.
FrameRecord decodedByteByByte(const std::uint8_t (&bytes)[28]) {
  auto b = [&bytes](int i) { return static_cast<std::int32_t>(bytes[i]); };
  FrameRecord frame{};
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
  return frame;
}

constexpr int kDecodedFields[] = {0,  2,  3,  4,  5,  6,  7,  8,  9,  10,
                                  11, 12, 13, 14, 15, 16, 17, 18, 19, 25};
constexpr int kOtherFields[] = {1, 20, 21, 22, 23, 24};

void expectDecodedAsByteByByte(const std::uint8_t (&bytes)[28], const char* what, int which) {
  FrameRecord frame;
  for (std::int32_t& value : frame.f) value = -777;
  decodeCarState(bytes, frame);
  FrameRecord expected = decodedByteByByte(bytes);
  for (int field : kDecodedFields)
    ASSERT_EQ(frame.f[field], expected.f[field]) << what << " " << which << " field " << field;
  for (int field : kOtherFields)
    ASSERT_EQ(frame.f[field], -777) << "field " << field << " is not the decoder's";
}

TEST(CarStateDecoder, AgreesWithTheByteRulesOnEveryBitAndOnRandomBlocks) {
  for (int bit = 0; bit < 28 * 8; ++bit) {
    std::uint8_t one[28] = {};
    one[bit / 8] = static_cast<std::uint8_t>(1u << (bit % 8));
    expectDecodedAsByteByByte(one, "single bit", bit);
    std::uint8_t allBut[28];
    for (std::uint8_t& byte : allBut) byte = 0xFF;
    allBut[bit / 8] ^= one[bit / 8];
    expectDecodedAsByteByByte(allBut, "all bits but", bit);
  }
  std::mt19937 random(20240611);
  for (int n = 0; n < 200000; ++n) {
    std::uint8_t bytes[28];
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    expectDecodedAsByteByByte(bytes, "random block", n);
  }
}

}  // namespace
}  // namespace lv
