#include "viewer/load/Prefault.h"

#include <sys/mman.h>
#include <unistd.h>

namespace lv {

void prefaultMapping(std::span<const std::uint8_t> bytes) {
#ifdef MADV_POPULATE_READ
  if (bytes.empty()) return;
  auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
  std::uintptr_t first = start & ~(page - 1);
  madvise(reinterpret_cast<void*>(first), start - first + bytes.size(), MADV_POPULATE_READ);
#else
  (void)bytes;
#endif
}

}  // namespace lv
