#pragma once

#include "viewer/graphs/Canvas.h"
#include "viewer/graphs/CanvasState.h"
#include "viewer/graphs/DialogControls.h"
#include "viewer/load/DialogFields.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// What a channel command works on: the stores, the canvas state, the dialog's fields and
// controls, and the client area to draw into.
struct GraphContext {
  ViewerStores& stores;
  CanvasState& view;
  DialogFields& fields;
  DialogControls& controls;
  Canvas& canvas;
};

}  // namespace lv
