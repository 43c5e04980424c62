#pragma once

#include <array>

#include "viewer/graphs/ChannelId.h"
#include "viewer/graphs/GraphContext.h"

namespace lv {

// Draws one channel for the chosen laps (the "show" half of a button press).
using ChannelPlot = void (*)(GraphContext&);
using ChannelGate = bool (*)(const GraphContext&);

struct ChannelCommand {
  ChannelPlot plot = nullptr;
  // A press this refuses changes nothing at all, not even the press counter.
  ChannelGate acceptsPress = nullptr;
  // A press this refuses only counts: nothing is drawn or erased.
  ChannelGate drawsAfterCount = nullptr;
  // Where the cursor line of a hide press ends.
  int cursorBottom = 1070;
};

// The command of every channel button, filled in when the program starts; channels of the
// overviews and the shell (tyre channels, map) register here like the graphs' own, so the
// redraw cycle needs no knowledge of them.
class ChannelCommands {
 public:
  void set(ChannelId id, ChannelCommand command) { commands_[channelIndex(id)] = command; }
  void set(ChannelId id, ChannelPlot plot) { commands_[channelIndex(id)].plot = plot; }
  const ChannelCommand& get(ChannelId id) const { return commands_[channelIndex(id)]; }

 private:
  std::array<ChannelCommand, kChannelCount> commands_{};
};

}  // namespace lv
