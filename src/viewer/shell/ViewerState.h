#pragma once

#include "viewer/graphs/CanvasState.h"
#include "viewer/load/DialogFields.h"
#include "viewer/load/LapList.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// Everything the viewer holds while it runs, owned by the main dialog.
struct ViewerState {
  ViewerStores stores;
  CanvasState view;
  DialogFields fields;
  LapList lapList;
  bool autoLoadDone = false;
};

}  // namespace lv
