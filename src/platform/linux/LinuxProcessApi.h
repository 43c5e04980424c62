#pragma once

#include "logger/ProcessApi.h"

namespace lv {

// Processes from /proc; memory through process_vm_readv (needs ptrace permission over the
// target, see the README). A process's name is argv[0] of its command line (under Wine the
// Windows program path), or its kernel name when the command line is empty. Zombies are left
// out: their program has ended.
class LinuxProcessApi final : public ProcessApi {
 public:
  std::vector<ProcessEntry> listProcesses() override;
  std::optional<std::string> processName(int id) override;
  ProcessHandle openForReading(int id) override;
  bool readMemory(ProcessHandle handle, std::uint32_t address,
                  std::span<std::uint8_t> destination) override;
  void close(ProcessHandle) override {}
};

}  // namespace lv
