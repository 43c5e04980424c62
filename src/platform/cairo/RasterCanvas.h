#pragma once

#include <cstdint>
#include <string>

#include "telemetry/Status.h"
#include "viewer/graphs/Canvas.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace lv {

// The client area as pixels on a Cairo image surface, allocated once: 1-px lines set the
// pixels a GDI line sets (Bresenham, the end point left out), without antialiasing.
class RasterCanvas : public Canvas {
 public:
  static constexpr int kWidth = 1908;   // 1272 dialog units at 1.5 px
  static constexpr int kHeight = 1042;  // 641 dialog units at 1.625 px

  RasterCanvas();
  ~RasterCanvas() override;
  RasterCanvas(const RasterCanvas&) = delete;
  RasterCanvas& operator=(const RasterCanvas&) = delete;

  void eraseAll() override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override;
  void text(int x, int y, std::string_view utf8) override;

  Rgb pixel(int x, int y) const;
  // Every pixel as a 0x00RRGGBB word, rows `stride()` words apart, for a window to show;
  // text drawn through Cairo is in it.
  const std::uint32_t* pixels() const;
  int stride() const { return stride_; }
  Status writePng(const std::string& path) const;
  Status writeSvg(const std::string& path) const;

 protected:
  void penSelected(Rgb) override {}

 private:
  void setPixel(int x, int y, Rgb colour);
  void fillRect(int x, int y, int width, int height, Rgb colour);

  cairo_surface_t* surface_;
  cairo_t* cairo_;
  std::uint32_t* pixels_;
  int stride_;  // in pixels
  int currentX_ = 0;
  int currentY_ = 0;
};

}  // namespace lv
