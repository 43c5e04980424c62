#include "viewer/graphs/ReadoutSample.h"

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/load/Truncate.h"

namespace lv {

int readoutSampleAtCursor(const GraphContext& c) {
  LapRange lap = lapInSlot(c, c.stores.radioSlot);
  const CanvasState& view = c.view;
  if (multiLapMode(c)) {
    for (int s = lap.first; s < lap.end; ++s) {
      if (view.xSpan == 0.0f) break;
      double x = (distanceAt(c, s) - static_cast<double>(view.scrollOffset)) / view.xSpan * 1817.0 *
                 view.zoomFactor;
      if (x > view.cursorX) return s;
    }
    return lap.end;
  }
  int zoom = view.zoomFactor > 0 ? view.zoomFactor : 1;
  std::int64_t step = static_cast<std::int64_t>((lap.end - lap.first) / zoom) * view.cursorX;
  return truncToInt(static_cast<double>(lap.first + view.scrollOffset) +
                    static_cast<double>(step) / 1817.0);
}

}  // namespace lv
