#pragma once

#include "logger/Clock.h"

namespace lv {

// The performance counter, and sleeps that end within a fraction of a millisecond: the
// logger wakes shortly before the game's next frame and must not sleep past it.
class PerformanceClock final : public Clock {
 public:
  PerformanceClock();
  ~PerformanceClock() override;
  PerformanceClock(const PerformanceClock&) = delete;
  PerformanceClock& operator=(const PerformanceClock&) = delete;

  std::uint64_t ticks() override;
  std::uint64_t ticksPerSecond() override { return frequency_; }
  void sleepMicroseconds(std::uint64_t microseconds) override;

 private:
  std::uint64_t frequency_ = 1;
  using DelayFunction = long(__stdcall*)(unsigned char alertable, void* interval);
  DelayFunction delay_ = nullptr;
};

}  // namespace lv
