#include "platform/win32/dialog/GdiCanvas.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/WideText.h"

namespace lv {
namespace {

// A 32-bit DIB pixel: blue in the low byte, then green and red.
std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

COLORREF colorRef(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

}  // namespace

GdiCanvas::GdiCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the client area's coordinates run
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) throw std::runtime_error("no memory for the picture");
  pixels_ = static_cast<std::uint32_t*>(bits);
  // A DIB section's rows are whole 32-bit pixels apart: the stride is the width.
  writer_ = PixelWriter(PixelBuffer{pixels_, width, height, width});
  previousBitmap_ = SelectObject(dc_, bitmap_);
  writer_.fill(0, 0, width_, height_, packed(kDialogBackground));
  takeChanged();  // the window paints its first picture whole anyway
}

GdiCanvas::~GdiCanvas() {
  SelectObject(dc_, previousBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

HDC GdiCanvas::dc() {
  readyForGdi();
  readyForPixels();
  return dc_;
}

void GdiCanvas::readyForPixels() {
  if (!gdiPending_) return;
  GdiFlush();
  gdiPending_ = false;
}

void GdiCanvas::readyForGdi() {
  writer_.flush();
}

void GdiCanvas::touch(int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (right <= left || bottom <= top) return;
  if (changed_.right <= changed_.left) {
    changed_ = {left, top, right, bottom};
    return;
  }
  changed_ = {std::min<LONG>(changed_.left, left), std::min<LONG>(changed_.top, top),
              std::max<LONG>(changed_.right, right), std::max<LONG>(changed_.bottom, bottom)};
}

RECT GdiCanvas::takeChanged() {
  PixelArea direct = writer_.takeChanged();
  touch(direct.left, direct.top, direct.right, direct.bottom);
  RECT changed = changed_;
  changed_ = {0, 0, 0, 0};
  return changed;
}

Rgb GdiCanvas::pixel(int x, int y) {
  readyForGdi();
  readyForPixels();
  std::uint32_t value = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                static_cast<std::size_t>(x)];
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

void GdiCanvas::eraseAll() {
  readyForPixels();
  writer_.fill(0, 0, width_, height_, packed(kDialogBackground));
  if (eraseListener_) eraseListener_();
}

void GdiCanvas::moveTo(int x, int y) {
  currentX_ = x;
  currentY_ = y;
}

void GdiCanvas::lineTo(int x, int y) {
  readyForPixels();
  writer_.line(currentX_, currentY_, x, y, packed(pen()));
  currentX_ = x;
  currentY_ = y;
}

void GdiCanvas::polylineTo(std::span<const CanvasPoint> points) {
  if (points.empty()) return;
  readyForPixels();
  writer_.polyline({currentX_, currentY_}, points, packed(pen()));
  currentX_ = points.back().x;
  currentY_ = points.back().y;
}

void GdiCanvas::columnStrokes(std::span<const ColumnStroke> strokes) {
  if (strokes.empty()) return;
  readyForPixels();
  writer_.columnStrokes(strokes, packed(pen()));
  currentX_ = strokes.back().x;
  currentY_ = strokes.back().to;
}

void GdiCanvas::curveTo(const SampleCurve& curve) {
  readyForPixels();
  writer_.curve(curve, packed(pen()));
  CanvasPoint end = lastPoint(curve);
  currentX_ = end.x;
  currentY_ = end.y;
}

void GdiCanvas::barRows(const BarRows& bars) {
  if (bars.size() == 0 || bars.rowCount() < 1) return;
  readyForPixels();
  writer_.barRows(bars, packed(pen()));
  ColumnStroke last = lastStroke(bars);
  currentX_ = last.x;
  currentY_ = last.to;
}

void GdiCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  readyForPixels();
  std::uint32_t c = packed(colour);
  writer_.fill(x, y, width - 1, 1, c);
  writer_.fill(x, y, 1, height - 1, c);
  writer_.fill(x + width - 1, y, 1, height, c);
  writer_.fill(x, y + height - 1, width, 1, c);
}

void GdiCanvas::ellipse(int left, int top, int right, int bottom, Rgb fillColour) {
  readyForGdi();
  HPEN pen = CreatePen(PS_SOLID, 1, colorRef(this->pen()));
  HBRUSH brush = CreateSolidBrush(colorRef(fillColour));
  HGDIOBJ oldPen = SelectObject(dc_, pen);
  HGDIOBJ oldBrush = SelectObject(dc_, brush);
  Ellipse(dc_, left, top, right, bottom);
  SelectObject(dc_, oldBrush);
  SelectObject(dc_, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  gdiPending_ = true;
  touch(std::min(left, right), std::min(top, bottom), std::max(left, right) + 1,
        std::max(top, bottom) + 1);
}

void GdiCanvas::text(int x, int y, std::string_view utf8) {
  std::wstring wide = widen(utf8);
  readyForGdi();
  // The drawing context's default text attributes: black on opaque white, system font.
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 255, 255));
  SetTextColor(dc_, RGB(0, 0, 0));
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  gdiPending_ = true;
  touch(x, y, x + size.cx, y + size.cy);
}

}  // namespace lv
