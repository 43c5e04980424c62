#pragma once

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphContext.h"

namespace lv {

// Scroll codes of the horizontal scroll bar.
enum ScrollCode {
  kLineLeft = 0,
  kLineRight = 1,
  kPageLeft = 2,
  kPageRight = 3,
  kThumbPosition = 4
};

// The scroll bar's range: the longest lap distance in metres with two or more laps chosen,
// the samples of the first chosen lap otherwise.
int scrollRange(const GraphContext& c);

void zoomOut(GraphContext& c, const ChannelCommands& commands);  // "zoom-"
void zoomIn(GraphContext& c, const ChannelCommands& commands);   // "zoom+"
void scrollGraphs(GraphContext& c, const ChannelCommands& commands, int code, int thumbPosition);
void eraseGraphs(GraphContext& c);  // "line-"
void dropLaps(GraphContext& c);     // "lap-"

}  // namespace lv
