#pragma once

#include <windows.h>

namespace lv {

// The tooltip control of the main dialog with one tool per control that has a tip (the
// whole control is the tool), tips wrapped at 690 pixels. Null when the control cannot be
// created.
HWND createControlTooltips(HWND dialog);

}  // namespace lv
