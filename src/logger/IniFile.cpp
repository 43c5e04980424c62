#include "logger/IniFile.h"

#include "telemetry/FileBytes.h"

namespace lv {

std::string firstLineOf(std::span<const std::uint8_t> text) {
  std::string line;
  for (std::uint8_t byte : text) {
    if (byte == '\n' || byte == '\r') break;
    line.push_back(static_cast<char>(byte));
  }
  return line;
}

std::optional<std::string> readFirstLine(const std::string& path) {
  FileBytes file;
  if (!file.open(path)) return std::nullopt;
  return firstLineOf(file.bytes());
}

}  // namespace lv
