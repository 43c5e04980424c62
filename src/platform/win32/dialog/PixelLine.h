#pragma once

namespace lv {

// The pixels of a 1-px line as the plot picture sets them on every platform: cut to the
// [0, width) x [0, height) area first (in doubles, so far-away points of foreign data cannot
// overflow), then integer Bresenham from the start point with the end point left out; an end
// that was cut lies inside the area and is set. `plot(x, y)` is called for every pixel.
template <typename Plot>
void forEachLinePixel(int fromX, int fromY, int toX, int toY, int width, int height, Plot plot);

bool cutLineToArea(double& x0, double& y0, double& x1, double& y1, int width, int height);

}  // namespace lv

#include "platform/win32/dialog/PixelLine.inl"
