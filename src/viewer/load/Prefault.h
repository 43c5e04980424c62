#pragma once

#include <cstdint>
#include <span>

namespace lv {

// Maps in every page of a file mapping at once, before it is read from end to end: one call
// instead of a page fault every few pages (a long drive's files are a hundred megabytes).
// Nothing happens where the system cannot do it; the pages then come in as they are read.
void prefaultMapping(std::span<const std::uint8_t> bytes);

}  // namespace lv
