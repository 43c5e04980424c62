#include "platform/fltk/AppIcon.h"

#include <array>
#include <cmath>

#include "viewer/graphs/LapColours.h"

namespace lv {
namespace {

constexpr int kSize = 48;

class IconPixels {
 public:
  IconPixels() {
    fill(0, 0, kSize, kSize, {90, 90, 90});
    fill(2, 2, kSize - 4, kSize - 4, kDialogBackground);
    fill(4, 4, kSize - 8, kSize - 8, {255, 255, 255});
    trace(kLapColoursPrimary[1], 0.0);
    trace(kLapColoursPrimary[0], 0.45);
  }
  const unsigned char* data() const { return bytes_.data(); }

 private:
  void set(int x, int y, Rgb c) {
    if (x < 4 || y < 4 || x >= kSize - 4 || y >= kSize - 4) return;
    unsigned char* p = &bytes_[static_cast<std::size_t>((y * kSize + x) * 3)];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
  }
  void fill(int x, int y, int width, int height, Rgb c) {
    for (int row = y; row < y + height; ++row)
      for (int column = x; column < x + width; ++column) {
        unsigned char* p = &bytes_[static_cast<std::size_t>((row * kSize + column) * 3)];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
      }
  }
  // A speed trace: fast on the straights, slow in two corners; `lag` shifts it a little.
  void trace(Rgb colour, double lag) {
    int previous = -1;
    for (int x = 4; x < kSize - 4; ++x) {
      double t = (x - 4 + lag * 3.0) / (kSize - 8.0) * 2.0 * 3.14159265;
      int y = static_cast<int>(
          std::lround(24.0 - 13.0 * std::sin(t) * (1.0 - 0.3 * lag) + 3.0 * std::cos(2.0 * t)));
      int from = previous < 0 ? y : previous;
      for (int row = std::min(from, y); row <= std::max(from, y); ++row) {
        set(x, row, colour);
        set(x, row + 1, colour);
      }
      previous = y;
    }
  }

  std::array<unsigned char, kSize * kSize * 3> bytes_{};
};

}  // namespace

Fl_RGB_Image& appIcon() {
  static const IconPixels pixels;
  static Fl_RGB_Image image(pixels.data(), kSize, kSize, 3);
  return image;
}

}  // namespace lv
