#include "logger/IniFile.h"

#include <filesystem>

#include "telemetry/FileBytes.h"
#include "telemetry/Utf8Path.h"

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
  // Only a regular file is read: opening a named pipe would wait for a writer forever, and a
  // device could stream without end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(utf8Path(path), error)) return std::nullopt;
  FileBytes file;
  if (!file.open(path)) return std::nullopt;
  return firstLineOf(file.bytes());
}

}  // namespace lv
