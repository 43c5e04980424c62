#include "platform/fltk/EditBox.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "platform/fltk/Fonts.h"

namespace lv {

EditBox::EditBox(int x, int y, int width, int height, bool readOnly, bool centred)
    : Fl_Input(x, y, width, height), centred_(centred) {
  box(FL_THIN_DOWN_BOX);
  textfont(FL_HELVETICA);
  textsize(fittingFontSize("0", width, height));
  readonly(readOnly ? 1 : 0);
  // The platform paints read-only boxes in the button face colour, the others white.
  color(readOnly ? FL_BACKGROUND_COLOR : FL_WHITE);
  if (readOnly) clear_visible_focus();
}

void EditBox::draw() {
  if (!centred_ || Fl::focus() == this) {
    Fl_Input::draw();
    return;
  }
  draw_box();
  fl_font(textfont(), textsize());
  fl_color(active_r() ? textcolor() : fl_inactive(textcolor()));
  fl_draw(value(), x() + Fl::box_dx(box()), y() + Fl::box_dy(box()), w() - Fl::box_dw(box()),
          h() - Fl::box_dh(box()), FL_ALIGN_CENTER | FL_ALIGN_CLIP, nullptr, 0);
}

}  // namespace lv
