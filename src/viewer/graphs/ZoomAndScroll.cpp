#include "viewer/graphs/ZoomAndScroll.h"

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/load/Truncate.h"

namespace lv {

int scrollRange(const GraphContext& c) {
  if (multiLapMode(c)) return truncToInt(c.view.xSpan / 2000.0);
  LapRange lap = lapInSlot(c, 0);
  return lap.end - lap.first;
}

namespace {

void resetRangeKeepingPosition(GraphContext& c) {
  int range = scrollRange(c);
  c.view.scrollBar.set(c.controls, range, scrollPage(range, c.view.zoomFactor),
                       c.view.scrollBar.position());
}

}  // namespace

void zoomOut(GraphContext& c, const ChannelCommands& commands) {
  if (c.view.zoomFactor > 1) {
    --c.view.zoomFactor;
    resetRangeKeepingPosition(c);
    float length = multiLapMode(c)
                       ? c.view.xSpan
                       : static_cast<float>(lapInSlot(c, 0).end - lapInSlot(c, 0).first);
    float bound =
        static_cast<float>(c.view.zoomFactor - 1) * length / static_cast<float>(c.view.zoomFactor);
    // The visible window stays inside the lap.
    if (static_cast<float>(c.view.scrollOffset) > bound) c.view.scrollOffset = truncToInt(bound);
  }
  redrawShown(c, commands);
  drawLapColourMarks(c, 1);
}

void zoomIn(GraphContext& c, const ChannelCommands& commands) {
  ++c.view.zoomFactor;
  resetRangeKeepingPosition(c);
  redrawShown(c, commands);
  drawLapColourMarks(c, 1);
}

void scrollGraphs(GraphContext& c, const ChannelCommands& commands, int code, int thumbPosition) {
  int position = c.view.scrollBar.position();
  switch (code) {
    case kLineLeft:
      position -= 5;
      break;
    case kLineRight:
      position += 5;
      break;
    case kPageLeft:
      position -= 25;
      break;
    case kPageRight:
      position += 25;
      break;
    case kThumbPosition:
      position = thumbPosition;
      break;
    default:
      break;
  }
  if (position < 0) return;
  c.view.scrollBar.set(c.controls, c.view.scrollBar.maximum(), c.view.scrollBar.page(), position);
  // The offset follows the position as computed, even where the bar stops at its end.
  c.view.scrollOffset = multiLapMode(c) ? truncToInt(position * 2000.0) : position;
  redrawShown(c, commands);
  drawLapColourMarks(c, 3);
}

void eraseGraphs(GraphContext& c) {
  for (const ChannelInfo& info : kRedrawOrder)
    if (info.id != ChannelId::kMap) c.view.pressCounter[channelIndex(info.id)] = 0;
  c.canvas.eraseAll();
}

void dropLaps(GraphContext& c) {
  if (c.stores.selectedCount > 1) c.view.offsetInDistanceUnits = 1;
  c.stores.selectedCount = 0;
  for (std::string& name : c.fields.lapNameText) name = "No lap";
  c.controls.fieldsToControls(c.fields);
  c.stores.selectedLaps.fill(0);
  c.canvas.eraseAll();
}

}  // namespace lv
