#pragma once

#include "viewer/load/RowSupply.h"
#include "viewer/load/SampleSweep.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// Per-sample values computed once when samples s0 .. end-1 are loaded: map bounds, chord
// length and heading, mean temperatures, the largest rpm and distance, and the extreme tyre
// temperatures per column.
// Returns what the same pass found for the lap cutting, the quarter splits and the quick
// overview, and tells `observer` of every block of samples done. Long loads share the
// samples out to both cores. With `rows`, the load's rows are not in the stores yet: the pass
// has them brought, a stretch at a time, just before it reads them.
SampleSweep deriveSampleValues(ViewerStores& stores, int s0, int end,
                               SampleObserver* observer = nullptr, RowSupply* rows = nullptr);

// The same on this thread alone, one sample after the other: what the shared-out work must
// come to.
SampleSweep deriveSampleValuesInOrder(ViewerStores& stores, int s0, int end,
                                      SampleObserver* observer = nullptr,
                                      RowSupply* rows = nullptr);

}  // namespace lv
