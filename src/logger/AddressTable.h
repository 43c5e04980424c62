#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lv {

inline constexpr int kAddressRows = 16;
inline constexpr int kBlocks = 64;
inline constexpr int kBlockBytes = 128;

// Game addresses of the 64 memory blocks, one row per game version.
using AddressTable = std::array<std::array<std::uint32_t, kBlocks>, kAddressRows>;

// Blocks the reader knows (column of the table).
namespace block {
inline constexpr int kEngine = 0;  // rpm, map position, velocity
inline constexpr int kPedals = 1;  // throttle, brake, clutch
inline constexpr int kLap = 2;     // lap distance
inline constexpr int kClock = 3;
inline constexpr int kFuel = 4;
inline constexpr int kTorqueCurve = 5;
inline constexpr int kWheel0 = 6;  // wheels 0..3 in blocks 6..9
inline constexpr int kForces = 10;
}  // namespace block

// The fuel value sits at this address in every supported version.
inline constexpr std::uint32_t kFuelAddress = 0x0079DB74;
// Wheel arrays are always taken from this row.
inline constexpr int kWheelRow = 1;

namespace detail {

constexpr std::uint32_t rotate16(std::uint32_t value) {
  return (value << 16) | (value >> 16);
}

// One draw of the minimal-standard generator (Schrage's method) on `seed`.
constexpr std::uint32_t nextKeyWord(std::uint32_t& seed) {
  std::int32_t s = static_cast<std::int32_t>(seed ^ 123459876u);
  std::int32_t k = s / 127773;
  s = 16807 * (s - k * 127773) - 2836 * k;
  if (s < 0) s += 2147483647;
  std::uint32_t r = static_cast<std::uint32_t>(s) ^ 123459876u;
  seed = r;
  return r;
}

}  // namespace detail

// The table is kept scrambled in the program: every word is XOR-ed with a key stream whose
// seed mixes in the previous scrambled word. Both directions walk the words in address order.
constexpr void unscrambleWords(std::span<std::uint32_t> words) {
  std::uint32_t seed = 0;
  std::uint32_t previous = 0;
  for (std::uint32_t& word : words) {
    seed ^= detail::rotate16(previous);
    std::uint32_t stored = word;
    word = stored ^ detail::nextKeyWord(seed);
    previous = stored;
  }
}

constexpr void scrambleWords(std::span<std::uint32_t> words) {
  std::uint32_t seed = 0;
  std::uint32_t previous = 0;
  for (std::uint32_t& word : words) {
    seed ^= detail::rotate16(previous);
    word ^= detail::nextKeyWord(seed);
    previous = word;
  }
}

// The built-in table, unscrambled.
AddressTable builtInAddressTable();

}  // namespace lv
