#include "platform/cairo/RasterCanvas.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <system_error>

namespace lv {
namespace {

std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

int strideBytes() {
  return cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, RasterCanvas::kWidth);
}

PixelBuffer surfacePixels(cairo_surface_t* surface) {
  return {reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface)),
          cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
          cairo_image_surface_get_stride(surface) / 4};
}

// The one text style of the client area: the loader below must ask for exactly this font, so
// that the raster then finds it in Cairo's caches.
void selectTextStyle(cairo_t* cairo) {
  cairo_select_font_face(cairo, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, 13.0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_set_font_options(cairo, options);
  cairo_font_options_destroy(options);
}

// Finds and opens the font and renders every printable character once on a surface of its
// own; Cairo and fontconfig keep what it loaded for every later text.
void loadFont() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 16, 16);
  cairo_t* cairo = cairo_create(surface);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  selectTextStyle(cairo);
  cairo_font_extents_t font;
  cairo_font_extents(cairo, &font);
  std::string printable;
  for (char c = ' '; c < 127; ++c) printable += c;
  cairo_move_to(cairo, 0, 13);
  cairo_show_text(cairo, printable.c_str());
  cairo_destroy(cairo);
  cairo_surface_destroy(surface);
}

}  // namespace

RasterCanvas::RasterCanvas()
    : memory_(static_cast<std::size_t>(strideBytes() / 4) * kHeight),
      surface_(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(memory_.data()),
                                                   CAIRO_FORMAT_RGB24, kWidth, kHeight,
                                                   strideBytes())),
      cairo_(cairo_create(surface_)),
      buffer_(surfacePixels(surface_)),
      writer_(buffer_) {
  cairo_set_antialias(cairo_, CAIRO_ANTIALIAS_NONE);
  selectTextStyle(cairo_);
  eraseAll();
}

RasterCanvas::~RasterCanvas() {
  if (fontLoader_.joinable()) fontLoader_.join();
  cairo_destroy(cairo_);
  cairo_surface_destroy(surface_);
}

// Cairo may keep work on the surface pending until it is flushed, and caches what it knows
// of the pixels until told they changed; both are done only when the writer changes, not
// per line.
void RasterCanvas::beginDirect() {
  catchUp();
  if (lastWriter_ == Writer::kCairo) cairo_surface_flush(surface_);
  lastWriter_ = Writer::kDirect;
}

void RasterCanvas::beginCairo() {
  catchUp();
  switchToCairo();
}

void RasterCanvas::switchToCairo() const {
  writer_.flush();
  if (lastWriter_ == Writer::kDirect) cairo_surface_mark_dirty(surface_);
  lastWriter_ = Writer::kCairo;
}

void RasterCanvas::settle() const {
  catchUp();
  writer_.flush();
  if (lastWriter_ == Writer::kCairo) cairo_surface_flush(surface_);
  if (lastWriter_ == Writer::kDirect) cairo_surface_mark_dirty(surface_);
  lastWriter_ = Writer::kNone;
}

void RasterCanvas::touchCairo(double left, double top, double right, double bottom) const {
  PixelArea area{std::max(0, static_cast<int>(std::floor(left)) - 1),
                 std::max(0, static_cast<int>(std::floor(top)) - 1),
                 std::min(kWidth, static_cast<int>(std::ceil(right)) + 1),
                 std::min(kHeight, static_cast<int>(std::ceil(bottom)) + 1)};
  if (area.empty()) return;
  if (cairoChanged_.empty()) {
    cairoChanged_ = area;
    return;
  }
  cairoChanged_ = {std::min(cairoChanged_.left, area.left), std::min(cairoChanged_.top, area.top),
                   std::max(cairoChanged_.right, area.right),
                   std::max(cairoChanged_.bottom, area.bottom)};
}

Rgb RasterCanvas::pixel(int x, int y) const {
  settle();
  std::uint32_t value = buffer_.data[static_cast<std::ptrdiff_t>(y) * buffer_.stride + x];
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

RasterCanvas::Pixels RasterCanvas::pixels() const {
  settle();
  return {buffer_.data, buffer_.width, buffer_.height, buffer_.stride * 4};
}

PixelArea RasterCanvas::takeChangedArea() {
  catchUp();
  PixelArea direct = writer_.takeChanged();
  PixelArea cairo = cairoChanged_;
  cairoChanged_ = {};
  if (direct.empty()) return cairo;
  if (cairo.empty()) return direct;
  return {std::min(direct.left, cairo.left), std::min(direct.top, cairo.top),
          std::max(direct.right, cairo.right), std::max(direct.bottom, cairo.bottom)};
}

void RasterCanvas::eraseAll() {
  // What waits is covered before anyone could see it; the background itself is painted when
  // the pixels are next used, so that erases in a row (the program's start, a first load)
  // paint it once.
  pendingTexts_.clear();
  writer_.flush();
  eraseDue_ = true;
}

void RasterCanvas::catchUp() const {
  if (eraseDue_) {
    eraseDue_ = false;
    if (lastWriter_ == Writer::kCairo) cairo_surface_flush(surface_);
    lastWriter_ = Writer::kDirect;
    writer_.fill(0, 0, kWidth, kHeight, packed(kDialogBackground));
  }
  drawPendingTexts();
}

void RasterCanvas::moveTo(int x, int y) {
  currentX_ = x;
  currentY_ = y;
}

void RasterCanvas::lineTo(int x, int y) {
  beginDirect();
  writer_.line(currentX_, currentY_, x, y, packed(pen()));
  currentX_ = x;
  currentY_ = y;
}

void RasterCanvas::polylineTo(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  beginDirect();
  writer_.polyline({currentX_, currentY_}, points, packed(pen()));
  currentX_ = points.back().x;
  currentY_ = points.back().y;
}

void RasterCanvas::columnStrokes(std::span<const ColumnStroke> strokes) {
  if (strokes.empty()) return;
  beginDirect();
  writer_.columnStrokes(strokes, packed(pen()));
  currentX_ = strokes.back().x;
  currentY_ = strokes.back().to;
}

void RasterCanvas::curveTo(const SampleCurve& curve) {
  beginDirect();
  writer_.curve(curve, packed(pen()));
  CanvasPoint end = lastPoint(curve);
  currentX_ = end.x;
  currentY_ = end.y;
}

void RasterCanvas::barRows(const BarRows& bars) {
  if (bars.size() == 0 || bars.rowCount() < 1) return;
  beginDirect();
  writer_.barRows(bars, packed(pen()));
  ColumnStroke last = lastStroke(bars);
  currentX_ = last.x;
  currentY_ = last.to;
}

void RasterCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  beginDirect();
  std::uint32_t c = packed(colour);
  writer_.fill(x, y, width - 1, 1, c);
  writer_.fill(x, y, 1, height - 1, c);
  writer_.fill(x + width - 1, y, 1, height, c);
  writer_.fill(x, y + height - 1, width, 1, c);
}

void RasterCanvas::ellipse(int left, int top, int right, int bottom, Rgb fill) {
  double x0 = std::min(left, right), x1 = std::max(left, right);
  double y0 = std::min(top, bottom), y1 = std::max(top, bottom);
  if (x1 - x0 < 1 || y1 - y0 < 1) return;
  beginCairo();
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
  touchCairo(x0, y0, x1, y1);
}

void RasterCanvas::startLoadingFont() {
  if (fontLoaded_ || fontLoader_.joinable()) return;
  try {
    fontLoader_ = std::thread([this] {
      loadFont();
      fontLoaded_ = true;
    });
  } catch (const std::system_error&) {
    fontLoaded_ = true;  // no thread: the first text drawn loads the font itself
  }
}

void RasterCanvas::drawPendingTexts() const {
  if (pendingTexts_.empty()) return;
  if (fontLoader_.joinable()) fontLoader_.join();
  std::vector<PendingText> texts;
  texts.swap(pendingTexts_);
  for (const PendingText& t : texts) drawText(t.x, t.y, t.text);
}

void RasterCanvas::text(int x, int y, std::string_view utf8) {
  startLoadingFont();
  pendingTexts_.push_back({x, y, std::string(utf8)});
}

void RasterCanvas::drawText(int x, int y, const std::string& text) const {
  switchToCairo();
  cairo_font_extents_t font;
  cairo_font_extents(cairo_, &font);
  cairo_text_extents_t extents;
  cairo_text_extents(cairo_, text.c_str(), &extents);
  // Opaque white behind the text, as the default drawing context writes it.
  cairo_set_source_rgb(cairo_, 1, 1, 1);
  cairo_rectangle(cairo_, x, y, std::ceil(extents.x_advance), std::ceil(font.height));
  cairo_fill(cairo_);
  cairo_set_source_rgb(cairo_, 0, 0, 0);
  double baseline = y + std::round(font.ascent);
  cairo_move_to(cairo_, x, baseline);
  cairo_show_text(cairo_, text.c_str());
  cairo_new_path(cairo_);
  touchCairo(std::min<double>(x, x + extents.x_bearing), y,
             x + std::max({extents.x_advance, extents.x_bearing + extents.width, 0.0}),
             std::max(y + font.height, baseline + extents.y_bearing + extents.height));
}

Status RasterCanvas::writePng(const std::string& path) const {
  settle();
  if (cairo_surface_write_to_png(surface_, path.c_str()) != CAIRO_STATUS_SUCCESS)
    return Status::error(path + ": cannot be written");
  return Status::ok();
}

Status RasterCanvas::writeSvg(const std::string& path) const {
  settle();
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
