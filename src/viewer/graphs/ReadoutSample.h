#pragma once

#include "viewer/graphs/GraphContext.h"

namespace lv {

// The sample of the radio slot's lap under the cursor, where the graphs draw that lap: by
// sample count with one lap chosen, the first sample right of the cursor with two or more
// (the lap's next first sample when none is).
int readoutSampleAtCursor(const GraphContext& c);

}  // namespace lv
