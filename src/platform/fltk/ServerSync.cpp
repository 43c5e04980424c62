#include "platform/fltk/ServerSync.h"

#include <FL/x.H>

namespace lv {

void waitForServer() {
  if (fl_display != nullptr) XSync(fl_display, False);
}

}  // namespace lv
