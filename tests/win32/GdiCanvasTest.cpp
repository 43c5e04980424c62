#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/dialog/GdiCanvas.h"

namespace lv {
namespace {

constexpr int kWidth = 40, kHeight = 30;
constexpr Rgb kRed{240, 0, 40}, kGreen{40, 140, 40}, kBlue{40, 0, 240};

// The picture the canvas should hold, pixel by pixel.
struct Picture {
  std::vector<Rgb> pixels = std::vector<Rgb>(kWidth * kHeight, kDialogBackground);
  void set(int x, int y, Rgb c) { pixels[static_cast<std::size_t>(y * kWidth + x)] = c; }
};

void expectSame(GdiCanvas& canvas, const Picture& expected) {
  int wrong = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      Rgb want = expected.pixels[static_cast<std::size_t>(y * kWidth + x)];
      Rgb got = canvas.pixel(x, y);
      if (got == want) continue;
      if (++wrong <= 10)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << int(got.r) << " " << int(got.g) << " "
                      << int(got.b) << ", expected " << int(want.r) << " " << int(want.g) << " "
                      << int(want.b);
    }
  EXPECT_EQ(wrong, 0);
}

// Lines, outlines and the background set the pixels the Linux raster sets for the same
// calls: Bresenham from the start, the end point left out, a cut end set.
TEST(GdiCanvas, LinesRectanglesAndBackgroundAsTheRasterSetsThem) {
  GdiCanvas canvas(kWidth, kHeight);
  Picture expected;
  canvas.selectPen(kRed);
  canvas.moveTo(2, 2);
  canvas.lineTo(7, 4);  // shallow: the end (7,4) stays empty...
  for (auto [x, y] : {std::pair{2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}}) expected.set(x, y, kRed);
  canvas.lineTo(7, 8);  // ...and is where the next line starts
  for (int y = 4; y < 8; ++y) expected.set(7, y, kRed);

  canvas.selectPen(kBlue);
  canvas.moveTo(-10, 1);  // starts outside: cut to x = 0
  canvas.lineTo(5, 1);
  for (int x = 0; x < 5; ++x) expected.set(x, 1, kBlue);
  canvas.moveTo(kWidth - 3, 10);  // leaves the area: the cut end is set
  canvas.lineTo(kWidth + 5, 10);
  for (int x = kWidth - 3; x < kWidth; ++x) expected.set(x, 10, kBlue);
  canvas.moveTo(-5, -5);  // wholly outside: nothing
  canvas.lineTo(-1, 20);

  canvas.rectangleOutline(10, 10, 4, 3, kGreen);  // does not change the pen
  for (int x = 10; x < 14; ++x) {
    expected.set(x, 10, kGreen);
    expected.set(x, 12, kGreen);
  }
  expected.set(10, 11, kGreen);
  expected.set(13, 11, kGreen);
  canvas.moveTo(20, 20);
  canvas.lineTo(20, 22);
  expected.set(20, 20, kBlue);
  expected.set(20, 21, kBlue);
  expectSame(canvas, expected);

  RECT changed = canvas.takeChanged();
  EXPECT_EQ(changed.left, 0);
  EXPECT_EQ(changed.top, 1);
  EXPECT_EQ(changed.right, kWidth);
  EXPECT_EQ(changed.bottom, 22);
  EXPECT_EQ(canvas.takeChanged().right, 0);
}

// Text and ellipses come from GDI into the same bitmap; lines drawn after them are not lost
// to GDI's pending work, and the dialog's erase clears everything and tells the window.
TEST(GdiCanvas, GdiTextAndEllipseShareTheBitmapAndEraseClearsAll) {
  GdiCanvas canvas(kWidth, kHeight);
  int erased = 0;
  canvas.onErase([&erased] { ++erased; });
  canvas.selectPen(kBlack);
  canvas.ellipse(2, 2, 12, 12, kGreen);
  EXPECT_EQ(canvas.pixel(7, 7), kGreen);
  canvas.text(15, 2, "Ab");
  EXPECT_EQ(canvas.pixel(15, 2), (Rgb{255, 255, 255}));  // opaque white behind the text
  canvas.selectPen(kRed);
  canvas.moveTo(0, 25);
  canvas.lineTo(10, 25);
  EXPECT_EQ(canvas.pixel(9, 25), kRed);

  canvas.eraseAll();
  EXPECT_EQ(erased, 1);
  expectSame(canvas, Picture{});
}

}  // namespace
}  // namespace lv
