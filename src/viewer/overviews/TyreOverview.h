#pragma once

#include <memory>

#include "viewer/graphs/GraphContext.h"

namespace lv {

class TyreColumnSummaries;

// The picture after the first load: tyre temperature differences across the tread, the
// mean temperature of each wheel and the status and engine-damage bars over the whole drive,
// `samples` samples spread over the plot width. The column summaries the load gathered are
// taken when they cover the picture.
void drawTyreOverview(GraphContext& c, int samples, const TyreColumnSummaries* gathered = nullptr);

// The summaries of the picture drawTyreOverview(c, samples) draws, to be gathered while the
// load derives its samples.
std::unique_ptr<TyreColumnSummaries> tyreOverviewSummaries(const ViewerStores& stores, int samples);

}  // namespace lv
