#pragma once

#include "viewer/load/ViewerStores.h"

namespace lv {

// Quarter-lap durations of laps first .. lapCount-1 into lapSectorTimes, by the rule for laps
// taken from another driver's replay: the time from the line is counted in frames of the
// lap's own rate from its second sample, and the quarters are those of the track length
// (of the largest distance loaded when track.ini gave none). A quarter the lap never reaches
// has split 0, as for loaded laps.
void computeImportSplits(ViewerStores& stores, int firstLap);

}  // namespace lv
