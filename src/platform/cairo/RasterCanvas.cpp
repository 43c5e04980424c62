#include "platform/cairo/RasterCanvas.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/cairo/LineClipping.h"

namespace lv {
namespace {

std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

}  // namespace

RasterCanvas::RasterCanvas()
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight)),
      cairo_(cairo_create(surface_)) {
  cairo_set_antialias(cairo_, CAIRO_ANTIALIAS_NONE);
  cairo_select_font_face(cairo_, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo_, 13.0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cairo_, options);
  cairo_font_options_destroy(options);
  pixels_ = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
  stride_ = cairo_image_surface_get_stride(surface_) / 4;
  eraseAll();
}

RasterCanvas::~RasterCanvas() {
  cairo_destroy(cairo_);
  cairo_surface_destroy(surface_);
}

void RasterCanvas::setPixel(int x, int y, Rgb colour) {
  if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
  pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_) +
          static_cast<std::size_t>(x)] = packed(colour);
}

void RasterCanvas::fillRect(int x, int y, int width, int height, Rgb colour) {
  for (int row = std::max(y, 0); row < std::min(y + height, kHeight); ++row)
    for (int column = std::max(x, 0); column < std::min(x + width, kWidth); ++column)
      setPixel(column, row, colour);
}

Rgb RasterCanvas::pixel(int x, int y) const {
  cairo_surface_flush(surface_);
  std::uint32_t value = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_) +
                                static_cast<std::size_t>(x)];
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

const std::uint32_t* RasterCanvas::pixels() const {
  cairo_surface_flush(surface_);
  return pixels_;
}

void RasterCanvas::eraseAll() {
  cairo_surface_flush(surface_);
  fillRect(0, 0, kWidth, kHeight, kDialogBackground);
  cairo_surface_mark_dirty(surface_);
}

void RasterCanvas::moveTo(int x, int y) {
  currentX_ = x;
  currentY_ = y;
}

void RasterCanvas::lineTo(int x, int y) {
  int fromX = currentX_, fromY = currentY_;
  currentX_ = x;
  currentY_ = y;
  double x0 = fromX, y0 = fromY, x1 = x, y1 = y;
  bool clipped = x0 < 0 || y0 < 0 || x1 < 0 || y1 < 0 || x0 >= kWidth || y0 >= kHeight ||
                 x1 >= kWidth || y1 >= kHeight;
  if (clipped && !clipSegment(x0, y0, x1, y1, kWidth, kHeight)) return;
  // Integer Bresenham from the start to the end point, which itself is not set; a cut end
  // is inside the surface and is set.
  int ax = static_cast<int>(std::lround(x0)), ay = static_cast<int>(std::lround(y0));
  int bx = static_cast<int>(std::lround(x1)), by = static_cast<int>(std::lround(y1));
  bool endWasCut = bx != x || by != y;
  int dx = std::abs(bx - ax), sx = ax < bx ? 1 : -1;
  int dy = -std::abs(by - ay), sy = ay < by ? 1 : -1;
  int error = dx + dy;
  Rgb colour = pen();
  cairo_surface_flush(surface_);
  while (ax != bx || ay != by) {
    setPixel(ax, ay, colour);
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      ax += sx;
    }
    if (twice <= dx) {
      error += dx;
      ay += sy;
    }
  }
  if (endWasCut) setPixel(bx, by, colour);
  cairo_surface_mark_dirty(surface_);
}

void RasterCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  cairo_surface_flush(surface_);
  fillRect(x, y, width - 1, 1, colour);
  fillRect(x, y, 1, height - 1, colour);
  fillRect(x + width - 1, y, 1, height, colour);
  fillRect(x, y + height - 1, width, 1, colour);
  cairo_surface_mark_dirty(surface_);
}

void RasterCanvas::ellipse(int left, int top, int right, int bottom, Rgb fill) {
  double x0 = std::min(left, right), x1 = std::max(left, right);
  double y0 = std::min(top, bottom), y1 = std::max(top, bottom);
  if (x1 - x0 < 1 || y1 - y0 < 1) return;
  cairo_new_path(cairo_);
  cairo_save(cairo_);
  cairo_translate(cairo_, (x0 + x1) / 2.0, (y0 + y1) / 2.0);
  cairo_scale(cairo_, (x1 - x0) / 2.0, (y1 - y0) / 2.0);
  cairo_arc(cairo_, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cairo_);
  cairo_set_source_rgb(cairo_, fill.r / 255.0, fill.g / 255.0, fill.b / 255.0);
  cairo_fill_preserve(cairo_);
  Rgb outline = pen();
  cairo_set_source_rgb(cairo_, outline.r / 255.0, outline.g / 255.0, outline.b / 255.0);
  cairo_set_line_width(cairo_, 1.0);
  cairo_stroke(cairo_);
}

void RasterCanvas::text(int x, int y, std::string_view utf8) {
  std::string text(utf8);
  cairo_font_extents_t font;
  cairo_font_extents(cairo_, &font);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo_, text.c_str(), &extents);
  // Opaque white behind the text, as the default drawing context writes it.
  cairo_set_source_rgb(cairo_, 1, 1, 1);
  cairo_rectangle(cairo_, x, y, std::ceil(extents.x_advance), std::ceil(font.height));
  cairo_fill(cairo_);
  cairo_set_source_rgb(cairo_, 0, 0, 0);
  cairo_move_to(cairo_, x, y + std::round(font.ascent));
  cairo_show_text(cairo_, text.c_str());
  cairo_new_path(cairo_);
}

Status RasterCanvas::writePng(const std::string& path) const {
  cairo_surface_flush(surface_);
  if (cairo_surface_write_to_png(surface_, path.c_str()) != CAIRO_STATUS_SUCCESS)
    return Status::error(path + ": cannot be written");
  return Status::ok();
}

Status RasterCanvas::writeSvg(const std::string& path) const {
  cairo_surface_flush(surface_);
  cairo_surface_t* svg = cairo_svg_surface_create(path.c_str(), kWidth, kHeight);
  cairo_t* cr = cairo_create(svg);
  cairo_set_source_surface(cr, surface_, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_finish(svg);
  cairo_status_t status = cairo_surface_status(svg);
  cairo_surface_destroy(svg);
  if (status != CAIRO_STATUS_SUCCESS) return Status::error(path + ": cannot be written");
  return Status::ok();
}

}  // namespace lv
