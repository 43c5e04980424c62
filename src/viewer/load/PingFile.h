#pragma once

#include <string>
#include <string_view>

#include "telemetry/Status.h"

namespace lv {

// The network delay of a multiplayer recording, in frames: the leading decimal integer of
// "Ping.ini" (blanks before it allowed, anything after it ignored, no number reads as 0).
// A negative delay would move values after the lap's frames and is taken as 0; a delay
// beyond kMaxPingFrames is capped there, which is already longer than any lap store.
inline constexpr int kMaxPingFrames = 1000000;
int parsePingFrames(std::string_view text);

// Reads "Ping.ini" from `iniDir`.
Status readPingFrames(const std::string& iniDir, int& frames);

}  // namespace lv
