#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "telemetry/FileBytes.h"

namespace lv {

// Whether the file at `path` is mapped anywhere within [from, to) of this process (never
// where there is no /proc).
inline bool fileMappedWithin(const std::string& path, std::uintptr_t from, std::uintptr_t to) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.size() < path.size() ||
        line.compare(line.size() - path.size(), path.size(), path) != 0)
      continue;
    std::istringstream range(line);
    std::uintptr_t start = 0, end = 0;
    char dash = 0;
    range >> std::hex >> start >> dash >> end;
    if (start < to && end > from) return true;
  }
  return false;
}

// Whether this system leases files to their owner here; without leases no file is mapped
// into a table.
inline bool leasesGranted() {
#ifdef _WIN32
  return false;
#else
  std::string path = ::testing::TempDir() + "file-lease-probe";
  if (!writeFileAtomically(path, std::vector<std::uint8_t>(16))) return false;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  bool granted = fd >= 0 && fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
  if (fd >= 0) ::close(fd);
  return granted;
#endif
}

}  // namespace lv
