#pragma once

#include <cstdint>

namespace lv {

// The replay's status word holds two 2-bit fields per wheel; the tyre views draw each as a
// bar: front left, front right, rear left, rear right, each with its low bit and its row.
inline constexpr int kStatusBits[4][2] = {{0, 16}, {2, 18}, {4, 20}, {6, 22}};
inline constexpr int kStatusRows[4][2] = {{29, 1}, {36, 8}, {43, 15}, {49, 22}};

// The field with low bit `bit`, taken from the signed word: a negative word gives a negative
// field.
inline int statusField(std::int32_t word, int bit) {
  return static_cast<int>(static_cast<std::int64_t>(word) % (std::int64_t{1} << (bit + 2)) /
                          (std::int64_t{1} << bit));
}

}  // namespace lv
