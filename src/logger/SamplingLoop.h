#pragma once

#include <iosfwd>
#include <string>

#include "logger/Clock.h"
#include "logger/GameReader.h"
#include "logger/SampleTable.h"
#include "logger/StopRequest.h"

namespace lv {

struct SamplingResult {
  int collected = 0;
  // The game (or the user's stop request) ended the recording rather than a full table.
  bool gameEnded = false;
};

// Stores one sample in `table` at every change of the game's clock until the game ends, the
// table is full or a stop is requested. Warnings go to `out`; `exeName` names the game in them.
SamplingResult sampleGame(GameReader& reader, Clock& clock, SampleTable& table,
                          const StopRequest* stop, std::ostream& out, const std::string& exeName);

}  // namespace lv
