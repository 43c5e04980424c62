// Any bytes as "MOD.ini" or "Vantor.ini": the first line and the paths made from it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "logger/GameFolder.h"
#include "logger/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line = lv::firstLineOf(std::span(data, size));
  std::string folder = lv::gameFolderPath(line);
  if (folder.size() != line.size()) __builtin_trap();
  return 0;
}
