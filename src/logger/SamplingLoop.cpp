#include "logger/SamplingLoop.h"

#include <optional>
#include <ostream>

namespace lv {
namespace {

// While the clock stands still the loop sleeps until every block of a sample may be fetched
// again, then watches the clock itself in short steps and fetches the sample as soon as it has
// moved. Each sample is so taken just after the game's change, a whole frame before the next
// one: a wake-up that a busy processor delays costs nothing unless it lasts most of a frame,
// and the game does not write the next frame while the sample is being read.
constexpr std::uint64_t kWatchStepMicroseconds = 2000;
// The process list need not be asked on every turn; the game's end is noticed within this time.
constexpr std::uint64_t kRunningCheckMicroseconds = 10000;
// A game that is being driven moves its clock many times in this time.
constexpr std::uint64_t kSilenceWarningMicroseconds = 1000000;

bool clockMoved(float now, float last) {
  return now < last || now > last;
}

void warnOfSilence(std::ostream& out, const std::string& exeName) {
  out << "Warning: the game's clock has not moved in the first second of recording.\n"
      << "If you are driving already, nothing is being recorded. Either vantor may not read\n"
      << "the game's memory (on Linux see kernel.yama.ptrace_scope in the README), or the\n"
      << "process it took is not the game but another program whose name contains " << exeName
      << ".\n";
}

std::uint64_t ticksOf(Clock& clock, std::uint64_t microseconds) {
  return clock.ticksPerSecond() * microseconds / 1000000;
}

}  // namespace

SamplingResult sampleGame(GameReader& reader, Clock& clock, SampleTable& table,
                          const StopRequest* stop, std::ostream& out, const std::string& exeName) {
  SamplingResult result;
  float lastClock = reader.readClock();
  const std::uint64_t checkTicks = ticksOf(clock, kRunningCheckMicroseconds);
  const std::uint64_t silenceTicks = ticksOf(clock, kSilenceWarningMicroseconds);
  const std::uint64_t start = clock.ticks();
  std::optional<std::uint64_t> lastCheck;
  bool warned = false;
  int i = 0;
  while (i < table.capacity()) {
    if (stop != nullptr && stop->requested()) {
      result.gameEnded = true;
      break;
    }
    std::uint64_t wait = reader.microsecondsUntilSampleRefresh();
    if (wait == 0 && clockMoved(reader.peekClock(), lastClock)) {
      float now = reader.readClock();
      if (clockMoved(now, lastClock)) {
        lastClock = reader.readClock();
        table.fill(i, reader);
        ++i;
        continue;
      }
    }
    std::uint64_t ticks = clock.ticks();
    if (!lastCheck || ticks - *lastCheck >= checkTicks) {
      lastCheck = ticks;
      if (!reader.isRunning()) {
        result.gameEnded = true;
        break;
      }
    }
    if (i == 0 && !warned && ticks - start >= silenceTicks) {
      warned = true;
      warnOfSilence(out, exeName);
    }
    clock.sleepMicroseconds(wait > 0 ? wait : kWatchStepMicroseconds);
  }
  result.collected = i;
  return result;
}

}  // namespace lv
