#include "platform/fltk/Fonts.h"

#include <FL/Fl.H>
#include <FL/Fl_Tooltip.H>
#include <FL/fl_draw.H>

namespace lv {

void useDialogFont() {
  Fl::set_font(FL_HELVETICA, "DejaVu Sans");
  Fl::set_font(FL_HELVETICA_BOLD, "DejaVu Sans Bold");
  Fl_Tooltip::font(FL_HELVETICA);
  Fl_Tooltip::size(kDialogFontSize);
}

int fittingFontSize(const char* text, int width, int height) {
  constexpr int kSmallest = 7;
  constexpr int kFrame = 4;  // the button's bevel and a pixel of air on each side
  int size = kDialogFontSize;
  for (; size > kSmallest; --size) {
    fl_font(FL_HELVETICA, size);
    if (fl_width(text) <= width - kFrame && fl_height() <= height + 2) break;
  }
  return size;
}

}  // namespace lv
