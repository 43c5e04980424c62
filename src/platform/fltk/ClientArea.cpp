#include "platform/fltk/ClientArea.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/fl_draw.H>

#include "platform/fltk/RasterBlit.h"

namespace lv {

ClientArea::ClientArea(int x, int y, const RasterCanvas& raster, WindowEvents& events)
    : Fl_Group(x, y, RasterCanvas::kWidth, RasterCanvas::kHeight),
      raster_(raster),
      events_(events) {
  box(FL_NO_BOX);
}

void ClientArea::draw() {
  if (damage() & ~FL_DAMAGE_CHILD) {
    int X, Y, W, H;
    fl_clip_box(x(), y(), w(), h(), X, Y, W, H);
    blitRaster(raster_, {X - x(), Y - y(), W, H}, x(), y());
  }
  draw_children();
}

// Group boxes and static texts let the mouse through to the dialog, as on the platform.
bool ClientArea::overControl(int windowX, int windowY) {
  for (int i = 0; i < children(); ++i) {
    Fl_Widget* widget = child(i);
    if (!widget->visible() || dynamic_cast<Fl_Box*>(widget) != nullptr) continue;
    if (windowX >= widget->x() && windowX < widget->x() + widget->w() && windowY >= widget->y() &&
        windowY < widget->y() + widget->h())
      return true;
  }
  return false;
}

int ClientArea::handle(int event) {
  bool right = Fl::event_button() == FL_RIGHT_MOUSE;
  switch (event) {
    case FL_ENTER:
    case FL_MOVE: {
      int taken = Fl_Group::handle(event);
      events_.mouseMoved();
      return taken;
    }
    case FL_PUSH:
      if (right) return 1;  // so that the release comes here
      break;
    case FL_RELEASE:
      if (!right) break;
      if (!overControl(Fl::event_x(), Fl::event_y()))
        events_.rightButtonReleased(Fl::event_x() - x());
      return 1;
    default:
      break;
  }
  return Fl_Group::handle(event);
}

}  // namespace lv
