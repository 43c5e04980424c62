#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/pixels/PixelWriter.h"
#include "viewer/graphs/Canvas.h"

namespace lv {

// The client area as an off-screen 32-bit DIB section that the window's paint copies to the
// screen, so covering and uncovering the window never loses a curve. Lines, rectangles and
// the background are written into the bitmap's pixels by the writer the Linux raster uses,
// so both platforms show the same pixels; text and ellipses are the system's GDI calls.
class GdiCanvas : public Canvas {
 public:
  GdiCanvas(int width, int height);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  void eraseAll() override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void polylineTo(std::span<const CanvasPoint> points) override;
  void columnStrokes(std::span<const ColumnStroke> strokes) override;
  void curveTo(const SampleCurve& curve) override;
  void barRows(const BarRows& bars) override;
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override;
  void text(int x, int y, std::string_view utf8) override;

  // Called after eraseAll has cleared the bitmap: the window erases and repaints at once.
  void onErase(std::function<void()> listener) { eraseListener_ = std::move(listener); }

  // The memory drawing context that holds the bitmap, for copying it to the window.
  HDC dc();
  Rgb pixel(int x, int y);
  // The area drawn since the last call, empty when nothing was drawn.
  RECT takeChanged();

 protected:
  void penSelected(Rgb) override {}

 private:
  // Direct pixel writes wait for GDI's pending work; GDI, and whoever reads the pixels,
  // for the writer's collected spans.
  void readyForPixels();
  void readyForGdi();
  void touch(int left, int top, int right, int bottom);

  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  std::uint32_t* pixels_ = nullptr;
  PixelWriter writer_{PixelBuffer{}};
  bool gdiPending_ = false;  // GDI may still be writing the bitmap
  int currentX_ = 0, currentY_ = 0;
  RECT changed_{0, 0, 0, 0};
  std::function<void()> eraseListener_;
};

}  // namespace lv
