#pragma once

namespace lv {

// The dialog's font: DejaVu Sans in place of the platform's sans-serif dialog font; every
// widget and box takes it through FLTK's default face.
void useDialogFont();

inline constexpr int kDialogFontSize = 11;

// The largest size up to kDialogFontSize at which `text` fits into a control of this pixel
// size with its frame (at least 7, so a caption stays readable where it cannot fit).
int fittingFontSize(const char* text, int width, int height);

}  // namespace lv
