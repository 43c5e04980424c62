#pragma once

#include <cstdint>
#include <span>

#include "viewer/load/ViewerStores.h"

namespace lv {

// Decodes the 28 data bytes of a car-state block into the fields of a frame record
// (0, 2..19 and 25); the other fields are left as they are.
void decodeCarState(std::span<const std::uint8_t, 28> bytes, FrameRecord& frame);

// Value of the low `bits` bits taken as a two's-complement number.
constexpr std::int32_t signedBits(std::int32_t value, int bits) {
  return value > (1 << (bits - 1)) - 1 ? value - (1 << bits) : value;
}

}  // namespace lv
