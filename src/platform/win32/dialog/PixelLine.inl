#pragma once

#include <cmath>
#include <cstdlib>

namespace lv {

template <typename Plot>
void forEachLinePixel(int fromX, int fromY, int toX, int toY, int width, int height, Plot plot) {
  double x0 = fromX, y0 = fromY, x1 = toX, y1 = toY;
  bool outside = fromX < 0 || fromY < 0 || toX < 0 || toY < 0 || fromX >= width ||
                 fromY >= height || toX >= width || toY >= height;
  if (outside && !cutLineToArea(x0, y0, x1, y1, width, height)) return;
  int ax = static_cast<int>(std::lround(x0)), ay = static_cast<int>(std::lround(y0));
  int bx = static_cast<int>(std::lround(x1)), by = static_cast<int>(std::lround(y1));
  bool endWasCut = bx != toX || by != toY;
  int dx = std::abs(bx - ax), sx = ax < bx ? 1 : -1;
  int dy = -std::abs(by - ay), sy = ay < by ? 1 : -1;
  int error = dx + dy;
  while (ax != bx || ay != by) {
    plot(ax, ay);
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      ax += sx;
    }
    if (twice <= dx) {
      error += dx;
      ay += sy;
    }
  }
  if (endWasCut) plot(bx, by);
}

}  // namespace lv
