#include "viewer/overviews/ContactPatchToggle.h"

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/ReadoutSample.h"
#include "viewer/overviews/TyreBoxes.h"

namespace lv {

void toggleContactPatch(GraphContext& c, const ChannelCommands& commands) {
  if (c.stores.selectedCount == 0) return;
  ++c.stores.contactPatchMode;
  bool patch = c.stores.contactPatchMode % 2 != 0;
  c.view.readoutSample = readoutSampleAtCursor(c);
  fillTyreBoxes(c.stores, c.view.readoutSample,
                patch ? TyreBoxSource::kContactPatch : TyreBoxSource::kTread, c.fields);
  c.controls.fieldsToControls(c.fields);
  if (c.view.shown(ChannelId::kTireTemps) || c.view.shown(ChannelId::kOutsideInside) ||
      c.view.shown(ChannelId::kCentreOutside)) {
    c.canvas.eraseAll();
    redrawShownChannels(c, commands);
    drawCursorLine(c, 1070);
  }
  c.controls.setCaption(kContactPatchButton, patch ? "contact patch" : "average temps");
}

}  // namespace lv
