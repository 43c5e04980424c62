#pragma once

#include "telemetry/ByteReader.h"
#include "telemetry/TelFormat.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// Attaches telemetry of the versions 2 and 3, whose records carry a time instead of a
// distance: records are placed by time, stepping at the replay's frame rate and
// re-synchronising at the replay's segment starts.
void attachTimeStepped(ByteReader& in, TelFileShape shape, ViewerStores& stores, int s0, int end,
                       int fps);

}  // namespace lv
