#include "platform/win32/dialog/AppIcon.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "viewer/graphs/LapColours.h"

namespace lv {

HICON createAppIcon(int size) {
  std::vector<std::uint32_t> colour(static_cast<std::size_t>(size * size));
  auto set = [&](int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= size || y >= size) return;
    colour[static_cast<std::size_t>(y * size + x)] =
        0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
  };
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      set(x, y, x == 0 || y == 0 || x == size - 1 || y == size - 1 ? kBlack : kDialogBackground);
  // Each lap a sine wave a little shifted against the one before, like laps compared.
  for (int slot = 0; slot < 4; ++slot) {
    for (int x = 1; x < size - 1; ++x) {
      double phase = (x + slot * 1.5) * 6.2832 / (size - 2);
      int y = static_cast<int>(std::lround(size / 2.0 - std::sin(phase) * size * 0.3)) + slot - 2;
      set(x, y, kLapColoursPrimary[static_cast<std::size_t>(slot)]);
    }
  }
  HBITMAP colourBitmap = CreateBitmap(size, size, 1, 32, colour.data());
  // All pixels opaque: a mask of zeros.
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(((size + 15) / 16) * 2 * size), 0);
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colourBitmap;
  info.hbmMask = maskBitmap;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(colourBitmap);
  DeleteObject(maskBitmap);
  return icon;
}

}  // namespace lv
