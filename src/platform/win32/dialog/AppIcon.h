#pragma once

#include <windows.h>

namespace lv {

// The program's icon, drawn at run time: four lap curves in the lap colours on the dialog
// grey. `size` is the edge in pixels (32 for the large icon, 16 for the small one).
HICON createAppIcon(int size);

}  // namespace lv
