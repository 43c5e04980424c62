#include "logger/GameFolder.h"

namespace lv {

std::string gameFolderPath(const std::string& iniLine) {
  std::string path = iniLine;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace lv
