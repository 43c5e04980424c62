#include "platform/fltk/MainWindow.h"

#include <FL/Fl.H>

#include <algorithm>
#include <string>

#include "platform/fltk/AppIcon.h"
#include "platform/fltk/Fonts.h"
#include "viewer/shell/DialogUnits.h"
#include "viewer/shell/ShellTexts.h"

namespace lv {
namespace {

// The window's size: the whole client area where the screen holds it, else the screen's
// working area less a window frame.
void windowSize(int& width, int& height) {
  int x, y, screenWidth, screenHeight;
  Fl::screen_work_area(x, y, screenWidth, screenHeight);
  constexpr int kFrame = 40;
  width = std::min(kClientWidth, std::max(screenWidth - (screenWidth < kClientWidth ? 8 : 0), 200));
  height = std::min(kClientHeight,
                    std::max(screenHeight - (screenHeight < kClientHeight ? kFrame : 0), 150));
}

int initialWidth() {
  int width, height;
  windowSize(width, height);
  return width;
}

int initialHeight() {
  int width, height;
  windowSize(width, height);
  return height;
}

// The About entry: the platform's system menu has no counterpart in FLTK, so a small button
// in the free strip above the file buttons carries it.
Fl_Button* aboutButton(WindowEvents& events) {
  auto* about = new Fl_Button(1878, 1, 28, 13, "Info");
  about->labelfont(FL_HELVETICA);
  about->labelsize(9);
  about->box(FL_THIN_UP_BOX);
  std::string entry(kAboutEntry);
  entry.erase(entry.find('&'), 1);
  about->copy_tooltip(entry.c_str());
  about->callback(
      [](Fl_Widget*, void* data) { static_cast<WindowEvents*>(data)->aboutRequested(); }, &events);
  about->clear_visible_focus();
  return about;
}

}  // namespace

MainWindow::MainWindow(const RasterCanvas& raster, WindowEvents& events)
    : Fl_Double_Window(initialWidth(), initialHeight(), "Lapvista"), events_(events) {
  color(fl_rgb_color(kDialogBackground.r, kDialogBackground.g, kDialogBackground.b));
  scroll_ = new Fl_Scroll(0, 0, w(), h());
  scroll_->box(FL_FLAT_BOX);
  scroll_->color(color());
  client_ = new ClientArea(0, 0, raster, events);
  controls_ = std::make_unique<ControlWidgets>(0, 0, events);
  aboutButton(events);
  client_->end();
  scroll_->end();
  end();
  resizable(scroll_);
  size_range(200, 150, kClientWidth, kClientHeight);
  icon(&appIcon());
  int x, y, screenWidth, screenHeight;
  Fl::screen_work_area(x, y, screenWidth, screenHeight);
  position(x, y);
}

int MainWindow::handle(int event) {
  int taken = Fl_Double_Window::handle(event);
  if (taken || event != FL_SHORTCUT) return taken;
  if (Fl::event_key() == FL_F + 1) {
    events_.aboutRequested();
    return 1;
  }
  if (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) {
    hide();
    return 1;
  }
  return 0;
}

}  // namespace lv
