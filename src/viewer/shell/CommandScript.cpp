#include "viewer/shell/CommandScript.h"

#include <fstream>

namespace lv {

bool readCommandScript(const std::filesystem::path& path, std::vector<std::string>& commands) {
  std::ifstream script(path);
  if (!script) return false;
  for (std::string line; std::getline(script, line);) commands.push_back(line);
  return true;
}

}  // namespace lv
