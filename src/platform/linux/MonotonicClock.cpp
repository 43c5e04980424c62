#include "platform/linux/MonotonicClock.h"

#include <cerrno>
#include <ctime>

namespace lv {

std::uint64_t MonotonicClock::ticks() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
         static_cast<std::uint64_t>(now.tv_nsec);
}

void MonotonicClock::sleepMicroseconds(std::uint64_t microseconds) {
  timespec wait{static_cast<time_t>(microseconds / 1000000),
                static_cast<long>(microseconds % 1000000) * 1000};
  while (clock_nanosleep(CLOCK_MONOTONIC, 0, &wait, &wait) == EINTR) {
  }
}

}  // namespace lv
