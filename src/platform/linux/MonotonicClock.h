#pragma once

#include "logger/Clock.h"

namespace lv {

// CLOCK_MONOTONIC in nanoseconds.
class MonotonicClock final : public Clock {
 public:
  std::uint64_t ticks() override;
  std::uint64_t ticksPerSecond() override { return 1000000000; }
  void sleepMicroseconds(std::uint64_t microseconds) override;
};

}  // namespace lv
