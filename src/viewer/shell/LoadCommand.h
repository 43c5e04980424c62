#pragma once

#include <functional>
#include <memory>

#include "viewer/load/SampleSweep.h"
#include "viewer/shell/ShellContext.h"

namespace lv {

// The picture after the first load: made before the load derives its samples, so that it
// takes what it needs of them while they are at hand (as the load's sample observer), and
// drawn at the end of the load.
class FirstLoadPicture : public SampleObserver {
 public:
  virtual void draw(ShellContext& context) = 0;
};

// Steps of a load that belong to the graphs and overviews, supplied by the dialog.
struct LoadFollowUps {
  std::function<void(ShellContext&)> redrawShownChannels;  // refresh after a later load
  std::function<std::unique_ptr<FirstLoadPicture>(ShellContext&, int samples)> firstLoadPicture;
  std::function<void(ShellContext&)> fitTrackMap;  // map frame at the end of a load
};

// The "load" button: lists saved laps of the current track, lets the user choose a file and
// appends its laps to the stores (a saved-laps file, or a replay with its telemetry).
void runLoadCommand(ShellContext& context, const LoadFollowUps& followUps);

}  // namespace lv
