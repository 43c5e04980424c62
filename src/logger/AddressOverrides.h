#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "logger/AddressTable.h"

namespace lv {

// Name of the optional file that replaces rows of the built-in address table.
inline constexpr const char* kAddressOverrideFile = "VantorAddresses.txt";

// Applies an override text to `table`. Each line names a row, by version text
// ("GPL1.2.0.2B") or by number (0..15), followed by the addresses of columns 0, 1, 2, ...
// in hexadecimal (0x...) or decimal; "-" keeps a column's address. Blank lines and lines
// starting with '#' are skipped. Returns one message per line that could not be used;
// such a line changes nothing.
std::vector<std::string> applyAddressOverrides(std::span<const std::uint8_t> text,
                                               AddressTable& table);

}  // namespace lv
