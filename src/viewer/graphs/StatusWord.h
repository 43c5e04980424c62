#pragma once

#include <cstdint>

namespace lv {

// The replay's status word holds two 2-bit fields per wheel; the tyre views draw each as a
// bar: front left, front right, rear left, rear right, each with its low bit and its row.
inline constexpr int kStatusBits[4][2] = {{0, 16}, {2, 18}, {4, 20}, {6, 22}};
inline constexpr int kStatusRows[4][2] = {{29, 1}, {36, 8}, {43, 15}, {49, 22}};

// Bits `bit` .. `bit` + width - 1 of the signed word, taken as the remainder of its division
// by 2^(bit + width), divided by 2^bit, both toward zero: a negative word gives the field of
// its magnitude, negated. Worked out with shifts, as the tyre picture takes several fields of
// every sample of a drive.
inline int signedBitField(std::int32_t word, int bit, int width) {
  std::int64_t magnitude = word < 0 ? -std::int64_t{word} : std::int64_t{word};
  int field = static_cast<int>((magnitude >> bit) & ((std::int64_t{1} << width) - 1));
  return word < 0 ? -field : field;
}

// The 2-bit field with low bit `bit`.
inline int statusField(std::int32_t word, int bit) {
  return signedBitField(word, bit, 2);
}

// The engine damage: bits 24..30.
inline int damageField(std::int32_t word) {
  return signedBitField(word, 24, 7);
}

}  // namespace lv
