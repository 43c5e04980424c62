#pragma once

#include "viewer/load/ViewerStores.h"

namespace lv {

// Per-sample values computed once when samples s0 .. end-1 are loaded: map bounds, chord
// length and heading, mean temperatures, the largest rpm and distance, and the extreme tyre
// temperatures per column.
// Long loads share the samples out to both cores.
void deriveSampleValues(ViewerStores& stores, int s0, int end);

// The same on this thread alone, one sample after the other: what the shared-out work must
// come to.
void deriveSampleValuesInOrder(ViewerStores& stores, int s0, int end);

}  // namespace lv
