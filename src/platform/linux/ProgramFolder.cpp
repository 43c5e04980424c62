#include "platform/linux/ProgramFolder.h"

#include <unistd.h>

#include <vector>

namespace lv {

std::string programFolder() {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
  std::string path(buffer.data(), static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

}  // namespace lv
