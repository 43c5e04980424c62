#pragma once

namespace lv {

// Cuts the segment (x0, y0)-(x1, y1) to the rectangle [0, width) x [0, height) (Liang-Barsky,
// in doubles so that far-away points of foreign data cannot overflow). False when nothing of
// it is inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, int width, int height);

}  // namespace lv
