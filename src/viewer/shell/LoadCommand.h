#pragma once

#include "viewer/shell/ShellContext.h"

namespace lv {

// Steps of a load that belong to the graphs and overviews, supplied by the dialog.
struct LoadFollowUps {
  std::function<void(ShellContext&)> redrawShownChannels;            // refresh after a later load
  std::function<void(ShellContext&, int samples)> drawTyreOverview;  // picture after the first load
  std::function<void(ShellContext&)> fitTrackMap;  // map frame at the end of a load
};

// The "load" button: lists saved laps of the current track, lets the user choose a file and
// appends its laps to the stores (a saved-laps file, or a replay with its telemetry).
void runLoadCommand(ShellContext& context, const LoadFollowUps& followUps);

}  // namespace lv
