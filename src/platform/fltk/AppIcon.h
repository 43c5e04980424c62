#pragma once

#include <FL/Fl_RGB_Image.H>

namespace lv {

// The program's icon: two lap traces in the first two lap colours over the dialog's grey, as
// the desktop file's icon shows them. Made once, kept for the life of the process.
Fl_RGB_Image& appIcon();

}  // namespace lv
