// Any bytes as the address override file: lines are used or reported, never more.
#include <cstddef>
#include <cstdint>
#include <span>

#include "logger/AddressOverrides.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::AddressTable table = lv::builtInAddressTable();
  lv::applyAddressOverrides(std::span(data, size), table);
  return 0;
}
