#pragma once

#include <array>

#include "viewer/graphs/ChannelId.h"
#include "viewer/graphs/GraphContext.h"

namespace lv {

// Draws one channel for the chosen laps (the "show" half of a button press).
using ChannelPlot = void (*)(GraphContext&);

// The plot of every channel, filled in by the program when it starts; channels from the
// overviews and the shell (tyre channels, map, datasheet) register here like the graphs'
// own, so the redraw cycle needs no knowledge of them.
class ChannelCommands {
 public:
  void set(ChannelId id, ChannelPlot plot) { plots_[channelIndex(id)] = plot; }
  ChannelPlot get(ChannelId id) const { return plots_[channelIndex(id)]; }

 private:
  std::array<ChannelPlot, kChannelCount> plots_{};
};

}  // namespace lv
