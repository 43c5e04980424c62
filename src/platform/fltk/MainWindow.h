#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Scroll.H>

#include <memory>

#include "platform/fltk/ClientArea.h"
#include "platform/fltk/ControlWidgets.h"

namespace lv {

// The top-level window "Lapvista": the client area at its fixed 1908 x 1042 pixels inside a
// scroll area, so a smaller screen shows scroll bars instead of cutting controls off. Escape,
// Return (when no control takes it) and the close box end the program, as for the dialog.
class MainWindow : public Fl_Double_Window {
 public:
  MainWindow(const RasterCanvas& raster, WindowEvents& events);

  ClientArea& client() { return *client_; }
  ControlWidgets& controls() { return *controls_; }

  int handle(int event) override;

 private:
  Fl_Scroll* scroll_;
  ClientArea* client_;
  std::unique_ptr<ControlWidgets> controls_;
  WindowEvents& events_;
};

}  // namespace lv
