#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lv {

struct ProcessEntry {
  int id = 0;
  std::string name;  // what the search compares: the program path or the process name
};

// Opaque handle of an opened process; 0 is the null handle that every read fails on.
using ProcessHandle = std::intptr_t;

// The operating system's process services as the logger needs them.
class ProcessApi {
 public:
  virtual ~ProcessApi() = default;

  // Every live process, in the system's enumeration order.
  virtual std::vector<ProcessEntry> listProcesses() = 0;
  // The name of one process as listProcesses would report it; nothing when it has gone.
  virtual std::optional<std::string> processName(int id) = 0;

  virtual ProcessHandle openForReading(int id) = 0;
  // Copies `destination.size()` bytes from the process's address `address`; false when not
  // every byte could be read (the destination may then hold a part of them).
  virtual bool readMemory(ProcessHandle handle, std::uint32_t address,
                          std::span<std::uint8_t> destination) = 0;
  virtual void close(ProcessHandle handle) = 0;
};

}  // namespace lv
