#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lv {

// The first line of a text: everything up to the first line end ("\n", "\r\n" or a lone
// "\r"), whole, however long it is.
std::string firstLineOf(std::span<const std::uint8_t> text);

// The first line of the file at `path`; nothing when it is not a regular file or cannot be
// opened.
std::optional<std::string> readFirstLine(const std::string& path);

}  // namespace lv
