#include "viewer/load/CarStateDecoder.h"

#include "telemetry/ByteReader.h"

namespace lv {
namespace {

// Every field of the block lies inside one of its little-endian words (bytes 0..7, 8..15,
// 16..23 and 24..27), so each is one shift and mask of a single load rather than a sum of
// masked bytes: the decoder runs once per frame of a drive.
template <int kLowBit, int kWidth>
std::int32_t unsignedField(std::uint64_t word) {
  static_assert(kLowBit + kWidth <= 64 && kWidth < 32);
  return static_cast<std::int32_t>((word >> kLowBit) & ((std::uint64_t{1} << kWidth) - 1));
}

// The same bits taken as a two's-complement number: moved to the top of the word, then
// shifted back down with the sign.
template <int kLowBit, int kWidth>
std::int32_t signedField(std::uint64_t word) {
  static_assert(kLowBit + kWidth <= 64 && kWidth <= 32);
  return static_cast<std::int32_t>(static_cast<std::int64_t>(word << (64 - kLowBit - kWidth)) >>
                                   (64 - kWidth));
}

}  // namespace

void decodeCarState(std::span<const std::uint8_t, 28> bytes, FrameRecord& frame) {
  const std::uint64_t w0 = loadU64(bytes.data());
  const std::uint64_t w1 = loadU64(bytes.data() + 8);
  const std::uint64_t w2 = loadU64(bytes.data() + 16);
  const std::uint64_t w3 = loadU32(bytes.data() + 24);
  std::int32_t* f = frame.f;
  f[0] = unsignedField<0, 26>(w0);
  f[2] = unsignedField<27, 3>(w0) - 1;
  f[4] = signedField<32, 20>(w0) / 100;
  f[5] = unsignedField<52, 12>(w0);
  f[6] = unsignedField<0, 10>(w1);
  f[7] = unsignedField<10, 12>(w1);
  f[8] = signedField<22, 10>(w1);
  f[9] = signedField<32, 10>(w1);
  f[10] = unsignedField<42, 7>(w1);
  f[11] = unsignedField<49, 8>(w1);
  f[3] = signedField<57, 7>(w1);
  f[16] = unsignedField<5, 7>(w2);
  f[12] = signedField<12, 9>(w2);
  f[17] = unsignedField<25, 7>(w2);
  f[13] = signedField<34, 9>(w2);
  f[18] = unsignedField<47, 7>(w2);
  f[14] = signedField<54, 9>(w2);
  f[19] = unsignedField<5, 7>(w3);
  f[15] = signedField<12, 10>(w3);
  f[25] = unsignedField<22, 10>(w3);
}

}  // namespace lv
