#pragma once

// A synthetic drive loaded into empty stores as a first load does: replay, telemetry, the
// pass over the samples and the lap cutting.

#include <memory>

#include "tools/gplsim/Gplsim.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/TelemetryAttachment.h"
#include "viewer/overviews/TyreColumnSummaries.h"
#include "viewer/overviews/TyreOverview.h"

namespace lv::test {

// Returns the end of the samples. With `gathered`, the tyre picture's column summaries are
// gathered during the pass over the samples, as a first load gathers them.
inline int loadDrive(const sim::Drive& drive, ViewerStores& stores,
                     std::unique_ptr<TyreColumnSummaries>* gathered = nullptr) {
  stores.resetForFirstLoad();
  stores.tyreTempMin.fill(1000000.0f);
  stores.tyreTempMax.fill(-1000000.0f);
  ReplayReadResult replay = readReplay(drive.replay, stores);
  attachTelemetry(drive.telemetry, stores, 0, replay.end, replay.fps);
  if (gathered != nullptr) *gathered = tyreOverviewSummaries(stores, replay.end);
  deriveSampleValues(stores, 0, replay.end, gathered != nullptr ? gathered->get() : nullptr);
  LapList list;
  LapSource source{false,           replay.fps,      replay.playerName,
                   replay.carIndex, &replay.records, replay.raceStartFrame};
  cutLaps(stores, list, source, 0, replay.end);
  stores.sampleCount = replay.end;
  return replay.end;
}

}  // namespace lv::test
