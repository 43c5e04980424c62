#include "viewer/load/ViewerStores.h"

namespace lv {

ViewerStores::ViewerStores() = default;

void ViewerStores::resetForFirstLoad() {
  contactPatchMode = 0;
  lapTime.fill(0);
  telemetryTable.clear();
  contactPatchTable.clear();
  extraTable.clear();
}

}  // namespace lv
