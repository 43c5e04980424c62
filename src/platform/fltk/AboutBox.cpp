#include "platform/fltk/AboutBox.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>

#include <memory>
#include <string>

#include "platform/fltk/AppIcon.h"
#include "platform/fltk/Fonts.h"
#include "viewer/shell/DialogUnits.h"
#include "viewer/shell/ShellTexts.h"

namespace lv {
namespace {

Fl_Box* textLine(DialogRect rect, std::string_view text) {
  PixelRect r = toPixels(rect);
  auto* line = new Fl_Box(r.x, r.y, r.width + 80, r.height + 4);
  line->copy_label(std::string(text).c_str());
  line->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  line->labelsize(kDialogFontSize);
  return line;
}

}  // namespace

void showAboutBox() {
  // 235 by 55 dialog units; the text lines get room for DejaVu Sans, which runs wider.
  PixelRect size = toPixels({0, 0, 235, 55});
  std::unique_ptr<Fl_Image> small(appIcon().copy(32, 32));  // outlives the window
  Fl_Double_Window window(size.width + 80, size.height);
  window.copy_label(std::string(kAboutCaption).c_str());
  // The platform's standard icon size, 32 pixels, between the border and the text.
  PixelRect iconPlace = toPixels({11, 17, 0, 0});
  auto* icon = new Fl_Box(iconPlace.x - 4, iconPlace.y - 8, 32, 32);
  icon->image(small.get());
  textLine({40, 10, 119, 8}, kAboutVersionLine);
  textLine({40, 25, 119, 8}, kAboutSecondLine);
  PixelRect okPlace = toPixels({178, 7, 50, 14});
  auto* ok = new Fl_Return_Button(okPlace.x + 80, okPlace.y, okPlace.width, okPlace.height, "OK");
  ok->labelsize(kDialogFontSize);
  ok->callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  window.end();
  window.set_modal();
  window.position((Fl::w() - window.w()) / 2, (Fl::h() - window.h()) / 2);
  window.show();
  while (window.shown()) Fl::wait();
}

}  // namespace lv
