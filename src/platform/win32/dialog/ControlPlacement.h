#pragma once

#include <windows.h>

namespace lv {

// Puts every control of the main dialog at its place converted to pixels as the graphs
// expect it (1.5 px per dialog unit across, 1.625 down), and gives the restored window a
// client area of 1908 x 1042 pixels. The dialog manager converts with the metrics of the
// font it finds, and a system whose "MS Sans Serif" is another size (Wine's is 7 px wide
// instead of 6, high-dpi screens) would otherwise move the controls away from the frames
// the graphs draw around them.
void placeControlsInPixels(HWND dialog);

// Where the system's stand-in for the dialog font is wider than the original's 6 pixels per
// average character (Wine maps it to DejaVu Sans, 7 pixels at 8 points), captions would no
// longer fit their controls: the controls get the same face at the largest size that is no
// wider. Returns that font, which the caller keeps for the dialog's life; null when the
// dialog's own font fits.
HFONT fitDialogFont(HWND dialog);

}  // namespace lv
