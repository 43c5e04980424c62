#pragma once

#include <FL/Fl_Input.H>

namespace lv {

// An edit box of the dialog: read-only ones are grey and cannot be typed into; the others
// take typing, which changes nothing until the next data exchange overwrites it. A centred
// box shows its text centred while it is not being edited (FLTK's input cannot centre).
class EditBox : public Fl_Input {
 public:
  EditBox(int x, int y, int width, int height, bool readOnly, bool centred);

  void draw() override;

 private:
  bool centred_;
};

}  // namespace lv
