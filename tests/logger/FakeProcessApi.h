#pragma once

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "logger/Clock.h"
#include "logger/ProcessApi.h"

namespace lv::testing {

// A process list and one process's memory, all in the test's hands.
class FakeProcessApi final : public ProcessApi {
 public:
  std::vector<ProcessEntry> processes;
  std::map<std::uint32_t, std::uint8_t> memory;  // readable bytes of the game
  int listCalls = 0;
  std::vector<std::pair<std::uint32_t, std::size_t>> reads;  // address and size of every read
  bool readsFail = false;
  std::function<void()> onRead;   // called at every memory read, before it happens
  std::function<void()> onQuery;  // called whenever the process list is asked

  std::vector<ProcessEntry> listProcesses() override {
    ++listCalls;
    if (onQuery) onQuery();
    return processes;
  }
  std::optional<std::string> processName(int id) override {
    if (onQuery) onQuery();
    for (const ProcessEntry& p : processes)
      if (p.id == id) return p.name;
    return std::nullopt;
  }
  ProcessHandle openForReading(int id) override { return id; }
  bool readMemory(ProcessHandle handle, std::uint32_t address,
                  std::span<std::uint8_t> destination) override {
    reads.emplace_back(address, destination.size());
    if (onRead) onRead();
    if (handle == 0 || readsFail) return false;
    for (std::size_t i = 0; i < destination.size(); ++i) {
      auto byte = memory.find(address + static_cast<std::uint32_t>(i));
      if (byte == memory.end()) return false;
      destination[i] = byte->second;
    }
    return true;
  }
  void close(ProcessHandle) override {}

  void putFloat(std::uint32_t address, float value) {
    std::uint8_t bytes[4];
    std::memcpy(bytes, &value, 4);
    for (std::uint32_t i = 0; i < 4; ++i) memory[address + i] = bytes[i];
  }
  void zeroRange(std::uint32_t first, std::uint32_t size) {
    for (std::uint32_t i = 0; i < size; ++i) memory.emplace(first + i, 0);
  }
  int readsAt(std::uint32_t address) const {
    int count = 0;
    for (auto [a, size] : reads) count += a == address ? 1 : 0;
    return count;
  }
};

// Microsecond ticks that move only when the test (or a sleep) moves them.
class FakeClock final : public Clock {
 public:
  std::uint64_t now = 1000000;  // one second after start
  std::uint64_t slept = 0;
  std::function<void()> afterSleep;
  // A busy machine: every `lateEvery`-th sleep ends `lateMicroseconds` after it should.
  int lateEvery = 0;
  std::uint64_t lateMicroseconds = 0;
  int sleeps = 0;

  std::uint64_t ticks() override { return now; }
  std::uint64_t ticksPerSecond() override { return 1000000; }
  void sleepMicroseconds(std::uint64_t microseconds) override {
    now += microseconds;
    slept += microseconds;
    ++sleeps;
    if (lateEvery > 0 && sleeps % lateEvery == 0) now += lateMicroseconds;
    if (afterSleep) afterSleep();
  }
  void advanceMilliseconds(double ms) { now += static_cast<std::uint64_t>(ms * 1000.0); }
};

}  // namespace lv::testing
