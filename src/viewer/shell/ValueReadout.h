#pragma once

#include "viewer/shell/ShellContext.h"

namespace lv {

// The right button released at client x: picks the sample under the mouse, shows its values
// in the boxes, draws the cursor line, redraws the shown channels and marks the sample on
// the map.
void valueReadout(ShellContext& context, int mouseX);

// Fills every value field from sample s (laps chosen: the tyre boxes follow the display mode).
void fillReadoutFields(GraphContext& c, int s);

}  // namespace lv
