#pragma once

#include "platform/cairo/RasterCanvas.h"

namespace lv {

struct BlitRect {
  int x, y, width, height;  // in raster pixels
};

// Copies `area` of the raster into the current FLTK drawable with the raster's origin at
// (originX, originY), converting its 0x00RRGGBB words to the RGB bytes FLTK takes.
void blitRaster(const RasterCanvas& raster, BlitRect area, int originX, int originY);

}  // namespace lv
