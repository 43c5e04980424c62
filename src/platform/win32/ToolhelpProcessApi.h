#pragma once

#include "logger/ProcessApi.h"

namespace lv {

// Processes from a Tool Help snapshot; memory through ReadProcessMemory. A process's name is
// its executable file name as the snapshot reports it ("gpl.exe"). Tool Help is the one
// process list of every Windows since 2000 (and of Wine); the PSAPI list was needed only on
// NT 4, which this program does not run on, so it is not offered.
//
// This program is 64-bit and the game is 32-bit: ReadProcessMemory reads a WOW64 process's
// memory at its own (32-bit) addresses, which is all the reader asks for.
class ToolhelpProcessApi final : public ProcessApi {
 public:
  std::vector<ProcessEntry> listProcesses() override;
  std::optional<std::string> processName(int id) override;
  ProcessHandle openForReading(int id) override;
  bool readMemory(ProcessHandle handle, std::uint32_t address,
                  std::span<std::uint8_t> destination) override;
  void close(ProcessHandle handle) override;
};

}  // namespace lv
