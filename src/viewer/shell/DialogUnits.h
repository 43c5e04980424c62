#pragma once

#include "viewer/shell/ControlCatalogue.h"

namespace lv {

struct PixelRect {
  int x, y, width, height;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The dialog's font at 96 dpi makes one dialog unit 1.5 pixels across and 1.625 pixels down.
// Every coordinate and size is converted on its own and rounded half away from zero, as the
// dialog manager does; so the control column (x 1211) starts at pixel 1817, where the plot
// area ends, and the frames the graphs draw around the boxes fall on the boxes.
constexpr int dialogUnitsToPixelsX(int units) {
  return (units * 3 + (units >= 0 ? 1 : -1)) / 2;
}
constexpr int dialogUnitsToPixelsY(int units) {
  return (units * 13 + (units >= 0 ? 4 : -4)) / 8;
}

constexpr PixelRect toPixels(DialogRect rect) {
  return {dialogUnitsToPixelsX(rect.x), dialogUnitsToPixelsY(rect.y),
          dialogUnitsToPixelsX(rect.width), dialogUnitsToPixelsY(rect.height)};
}

// The whole dialog: 1272 by 641 units.
inline constexpr int kClientWidth = dialogUnitsToPixelsX(1272);
inline constexpr int kClientHeight = dialogUnitsToPixelsY(641);
static_assert(kClientWidth == 1908 && kClientHeight == 1042);
static_assert(dialogUnitsToPixelsX(1211) == 1817);

}  // namespace lv
