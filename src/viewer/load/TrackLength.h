#pragma once

#include <optional>
#include <string_view>

#include "viewer/load/SampleSweep.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// Track length from the text of a track.ini, in 1/2000 m: the "track_length = " key after
// a "[track]" section header (one blank allowed after the bracket), read as miles up to and
// including the first "m". Nothing when the section or the key is missing.
std::optional<std::int32_t> parseTrackLength(std::string_view ini);

// Quarter-lap durations of laps first .. lapCount-1 into lapSectorTimes; the sweep of the
// load, when given, lets the search for each quarter skip blocks of samples.
void computeQuarterSplits(ViewerStores& stores, int firstLap, const SampleSweep* sweep = nullptr);

}  // namespace lv
