#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lv {

// Paths are UTF-8 inside the programs. A std::filesystem::path made from a plain string
// reads it in the system's code page on Windows, which mangles every name with an umlaut;
// these go through char8_t, which means UTF-8 everywhere.
inline std::filesystem::path utf8Path(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8String(const std::filesystem::path& path) {
  std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace lv
