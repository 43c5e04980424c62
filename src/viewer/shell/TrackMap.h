#pragma once

#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphContext.h"

namespace lv {

enum class MapFrameVariant { kLoad, kTreeImport };

// Fits the map of all loaded samples into the plot: keeps the track's aspect ratio, sizes it
// by the axis that needs more room and centres it along the other.
void fitTrackMap(GraphContext& c, MapFrameVariant variant);

// Pixel position of sample s on the map.
struct MapPoint {
  int x, y;
};
MapPoint mapPoint(const GraphContext& c, int s);
// Unrounded position, for the readout's dot.
void mapPosition(const GraphContext& c, int s, double& x, double& y);

void registerTrackMap(ChannelCommands& commands);

}  // namespace lv
