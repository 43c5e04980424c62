#pragma once

#include <cstdint>

namespace lv {

// A monotonic tick counter with a known rate, and a way to pass time.
class Clock {
 public:
  virtual ~Clock() = default;

  virtual std::uint64_t ticks() = 0;
  virtual std::uint64_t ticksPerSecond() = 0;
  virtual void sleepMicroseconds(std::uint64_t microseconds) = 0;
};

}  // namespace lv
