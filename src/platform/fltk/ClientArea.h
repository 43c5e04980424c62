#pragma once

#include <FL/Fl_Group.H>

#include "platform/cairo/RasterCanvas.h"
#include "platform/fltk/WindowEvents.h"

namespace lv {

// The dialog's client area at its fixed size: the raster is its background, so everything the
// dialog drew shows between and behind the controls, and an exposure repaints it from there.
// Mouse moves and right-button releases over it go to the dialog; right clicks never reach a
// control, as the platform's controls ignore them.
class ClientArea : public Fl_Group {
 public:
  ClientArea(int x, int y, const RasterCanvas& raster, WindowEvents& events);

  void draw() override;
  int handle(int event) override;

 private:
  bool overControl(int windowX, int windowY);

  const RasterCanvas& raster_;
  WindowEvents& events_;
};

}  // namespace lv
