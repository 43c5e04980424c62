#pragma once

#include "viewer/graphs/GraphContext.h"

namespace lv {

// The picture after the first load: tyre temperature differences across the tread, the
// mean temperature of each wheel and the status and engine-damage bars over the whole drive,
// `samples` samples spread over the plot width.
void drawTyreOverview(GraphContext& c, int samples);

}  // namespace lv
