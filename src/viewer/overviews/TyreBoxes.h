#pragma once

#include "viewer/load/DialogFields.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

enum class TyreBoxSource { kTread, kContactPatch };

// Fills the twelve tyre-temperature boxes for sample s in degrees Celsius: tread
// temperatures, or contact-patch temperatures (shown as stored when the sample's first one
// is not above 200, which marks values that are no kelvin).
void fillTyreBoxes(const ViewerStores& stores, int s, TyreBoxSource source, DialogFields& fields);

}  // namespace lv
