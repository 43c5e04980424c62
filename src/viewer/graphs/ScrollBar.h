#pragma once

#include "viewer/graphs/DialogControls.h"

namespace lv {

// The horizontal scroll bar's range, page and position. The lap choice, zoom and scroll all
// set it through `set`, which also shows it, so the next scroll starts from what the dialog
// shows and not from a copy that another command left behind.
class ScrollBar {
 public:
  // The platform keeps the thumb inside the range: the position is clamped before the bar is
  // shown.
  void set(DialogControls& controls, int maximum, int page, int position) {
    maximum_ = maximum;
    page_ = page;
    int last = maximum - (page > 1 ? page - 1 : 0);
    position_ = position > last ? last : position;
    if (position_ < 0) position_ = 0;
    controls.setScrollBar(0, maximum_, page_, position_);
  }

  int maximum() const { return maximum_; }
  int page() const { return page_; }
  int position() const { return position_; }

 private:
  int maximum_ = 0;
  int page_ = 1;
  int position_ = 0;
};

// The page of a bar over `range` at zoom factor `zoom`: the part of the range the plot shows.
inline int scrollPage(int range, int zoom) {
  return range / (zoom > 0 ? zoom : 1);
}

}  // namespace lv
